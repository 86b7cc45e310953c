// Opening a plot file, reading on, closing.
#include "plot/PlotSession.h"

#include "platform/MessageBoxes.h"
#include "plot/ViewerTexts.h"
#include "text/Failure.h"
#include "text/Paths.h"

#include <exception>

namespace zelkova::plot {

PlotSession::PlotSession() = default;
PlotSession::~PlotSession() = default;

PlotSession::Outcome PlotSession::readFigure(const FigureSettings& settings,
                                             platform::MessageBoxes& messages) {
    auto picture = std::make_shared<Picture>();
    try {
        const ImageAccess images{m_imageLoader, text::folderPart(m_path)};
        const FigureEnd end = plot::readFigure(*m_reader, *picture, settings, messages, images);
        m_picture = std::move(picture);
        return end == FigureEnd::Drawn ? Outcome::Drawn : Outcome::NoFurtherFigure;
    } catch (...) {
        m_picture = std::move(picture); // what was recorded before the error, not shown
        throw;
    }
}

PlotSession::Outcome PlotSession::open(const std::string& path, const FigureSettings& settings,
                                       platform::MessageBoxes& messages) {
    if (!text::existsAsFile(path)) {
        messages.plain(kFileNotFoundText);
        return Outcome::NotFound;
    }
    bool figureStarted = false;
    try {
        if (isOpen())
            close();
        m_path = path;
        try {
            m_reader.emplace(Reader::openFile(path));
        } catch (...) {
            // A file that cannot be read names nothing: the closing steps then find no file.
            m_path.clear();
            throw;
        }
        if (!m_reader->seekStartMarker()) {
            messages.plain(kNotAPlotFileText);
            return Outcome::NotAPlotFile;
        }
        figureStarted = true;
        return readFigure(settings, messages);
    } catch (const std::exception&) {
        messages.plain(kCannotOpenForErrorText);
        return figureStarted ? Outcome::FigureFailed : Outcome::OpenFailed;
    }
}

PlotSession::Outcome PlotSession::next(const FigureSettings& settings, platform::MessageBoxes& messages) {
    if (!isOpen())
        return Outcome::NoFile;
    try {
        if (!m_reader) // a named file always has its reader; read as from a file not open
            throw text::Failure(text::ioErrorText(103));
        return readFigure(settings, messages);
    } catch (const std::exception& failure) {
        messages.generalError(failure.what());
        return Outcome::FigureFailed;
    }
}

void PlotSession::close() {
    std::optional<Reader> reader = std::move(m_reader);
    m_reader.reset();
    m_path.clear();
    if (reader)
        reader->close();
}

} // namespace zelkova::plot
