// The editor's document state that the runner, the listing printer and the plot viewer read. The
// modified flag is the text area's own. Names are native (UTF-8 on Linux).
#pragma once

#include <string>

namespace zelkova::editor {

// Non-zero while a document is loaded or recoloured: text changes then raise no recolour request.
enum class ColouringGuard { Idle = 0, Recolouring = 1, Loading = 2 };

struct DocumentState {
    std::string documentName;      // where Save writes; empty until New, Open or Save As names it
    std::string openedFileName;    // the file last loaded; New, Save and Save As leave it alone
    std::string referenceFileName; // the file last chosen in the file-name paste
    bool runFile = false;
    ColouringGuard colouringGuard = ColouringGuard::Idle;
    bool recolourRequest = false;
};

} // namespace zelkova::editor
