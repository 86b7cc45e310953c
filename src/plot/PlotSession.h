// The open plot file and the current figure: opening a file (its existence, the start marker, the
// first figure), reading on to the next figure, and closing. This is the one place where the rules
// of opening and reading on live, with the messages that go with them; the viewer window and the
// batch tool's render command both work through it.
#pragma once

#include "plot/Picture.h"
#include "plot/Reader.h"
#include "plot/Renderer.h"

#include <memory>
#include <optional>
#include <string>

namespace zelkova::platform {
class MessageBoxes;
}

namespace zelkova::plot {

class PlotSession {
public:
    // How a request ended. Every message has been shown when the request returns.
    enum class Outcome {
        Drawn,           // a figure was read to its end; picture() holds it
        NoFurtherFigure, // at the end of the file: "次の図はもうありません！"; picture() is empty
        FigureFailed,    // an error inside the figure; picture() holds what was read before it and
                         // the reader stays where the error happened
        NotFound,        // open: no such file; the former file and figure are kept
        NotAPlotFile,    // open: no start marker; the file stays named, its reader at its end
        OpenFailed,      // open: the file could not be opened; no file is named any more
        NoFile,          // next: no plot file is named; nothing happened
    };

    PlotSession();
    ~PlotSession();
    PlotSession(const PlotSession&) = delete;
    PlotSession& operator=(const PlotSession&) = delete;

    // Opens the file at `path` (native name) and reads its first figure. Messages: the file-not-found
    // text, the not-a-plot-file text, and for any error from opening to the end of the first figure
    // "エラーのため指定のファイルを開くことが出来ない！"; the off-screen messages of the figure.
    Outcome open(const std::string& path, const FigureSettings& settings, platform::MessageBoxes& messages);

    // Reads the next figure of the named file. An error inside the figure is shown by the general
    // error report with its own text.
    Outcome next(const FigureSettings& settings, platform::MessageBoxes& messages);

    // Closes the reader (when one is open) and names no file any more. Throws Failure when closing
    // reports an error; the file is forgotten all the same.
    void close();

    // What decodes the image files that figures place (BMP and JPEG); without one, image records
    // are checked and reported but draw nothing. The loader must outlive the session's requests.
    void setImageLoader(ImageLoader* loader) { m_imageLoader = loader; }

    // A plot file is named (the viewer's caption shows its path).
    bool isOpen() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }

    // The current figure, or none before the first figure was requested.
    const Picture* picture() const { return m_picture.get(); }
    std::shared_ptr<const Picture> sharedPicture() const { return m_picture; }

private:
    Outcome readFigure(const FigureSettings& settings, platform::MessageBoxes& messages);

    std::string m_path;
    std::optional<Reader> m_reader;
    std::shared_ptr<const Picture> m_picture;
    ImageLoader* m_imageLoader = nullptr;
};

} // namespace zelkova::plot
