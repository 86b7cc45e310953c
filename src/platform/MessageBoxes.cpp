// The four kinds of box every window uses.
#include "platform/MessageBoxes.h"

#include "text/Cp932.h"

namespace zelkova::platform {

MessageBoxes::~MessageBoxes() = default;

void MessageBoxes::plain(std::string_view text) {
    show({MessageKind::Plain, std::string(kApplicationTitle), std::string(text), {Reply::Ok}, Reply::Ok});
}

bool MessageBoxes::confirm(std::string_view text) {
    const Reply r = show({MessageKind::Confirmation,
                          std::string(kConfirmationCaption),
                          std::string(text),
                          {Reply::Yes, Reply::No},
                          Reply::Yes});
    return r == Reply::Yes;
}

void MessageBoxes::error(std::string_view text) {
    show({MessageKind::Error, std::string(kErrorCaption), std::string(text), {Reply::Ok}, Reply::Ok});
}

void MessageBoxes::generalError(std::string_view text) {
    show({MessageKind::Error, std::string(kApplicationTitle), withFinalStop(text), {Reply::Ok}, Reply::Ok});
}

std::string withFinalStop(std::string_view text) {
    std::string out(text);
    if (out.empty())
        return out;
    // The last character, as a code point, compared with ".".
    const std::u16string wide = text::utf8ToUtf16(out);
    if (!wide.empty() && wide.back() > u'.')
        out += '.';
    return out;
}

} // namespace zelkova::platform
