// The plot viewer window. Created hidden at start-up and only hidden and shown afterwards; its
// caption is its open-file state: the open plot file's full path, or the default caption.
#pragma once

#include "platform/qt/Services.h"

#include <QMainWindow>

#include <functional>
#include <string>

inline constexpr const char* kDefaultViewerCaption = "JW_CAD作図用出力データを用いた作図";

class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    // `openedFileName` is the editor's opened file name at creation (native, UTF-8): when it is not
    // empty, the open dialog starts in that file's folder.
    TForm2(zelkova::platform::Services& services, const std::string& openedFileName, QWidget* parent = nullptr);
    ~TForm2() override;

    // How the viewer leaves: show the editor window again, and run the editor's Exit command.
    void setEditorHooks(std::function<void()> showEditor, std::function<void(QObject*)> exitApplication);

    // The viewer caption (UTF-8), which the runner compares with its output files.
    std::string viewerCaption() const;

private:
    zelkova::platform::Services& m_services;
    std::function<void()> m_showEditor;
    std::function<void(QObject*)> m_exitApplication;
};
