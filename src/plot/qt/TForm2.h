// The plot viewer window. Created hidden at start-up and only hidden and shown afterwards; its
// caption is its open-file state: the open plot file's full path, or the default caption. It
// reads a plot file one figure at a time into a retained picture and stretches that onto its view
// image. One class, its handlers split by concern: TForm2.cpp (building, file, next figure,
// leaving, help), TForm2Navigation.cpp, TForm2Output.cpp, TForm2Settings.cpp.
#pragma once

#include "image/ImageFiles.h"
#include "platform/qt/Services.h"
#include "plot/MouseGesture.h"
#include "plot/Navigation.h"
#include "plot/PlotSession.h"
#include "plot/ViewerState.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace zelkova::plot {
class PenPanel;
class ScalePanel;
class ViewImage;
} // namespace zelkova::plot

inline constexpr const char* kDefaultViewerCaption = "JW_CAD作図用出力データを用いた作図";

class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    // `openedFileName` is the editor's opened file name at creation (native, UTF-8): when it is not
    // empty, the open dialog starts in that file's folder.
    TForm2(zelkova::platform::Services& services, const std::string& openedFileName,
           QWidget* parent = nullptr);
    ~TForm2() override;

    // How the viewer leaves: show the editor window again, and run the editor's Exit command.
    void setEditorHooks(std::function<void()> showEditor, std::function<void(QObject*)> exitApplication);

    // The viewer caption (UTF-8), which the runner compares with its output files.
    std::string viewerCaption() const;

    // The viewer state that navigation, output and the settings work on.
    const zelkova::plot::Picture* picture() const { return m_session.picture(); }
    const zelkova::plot::ViewerState& state() const { return m_state; }
    const zelkova::plot::ViewRect& viewRect() const { return m_state.viewRect; }
    double magnification() const { return m_state.magnification; }
    bool selectionFlag() const { return m_state.selectionFlag; }

public slots:
    // Reads and records the next figure from the open plot file and shows it.
    void grafplot();

    // --- TForm2.cpp ---
    // ファイル > JW_CAD外部変形用ﾃｷｽﾄﾃﾞｰﾀを読み込み作図する。
    void file1Click();
    // 次の図を作図 > 現在の図は消えます。ＯＫ
    void next1Click();
    // 編集画面へ戻る > 作図ﾌｧｲﾙを閉じて編集画面に戻る。
    void back1Click();
    // ファイル > Zelkovaを終了する。
    void Exit1Click();
    // ヘルプ
    void Help1Click();

    // --- TForm2Navigation.cpp ---
    // ↑ ↓ ← →
    void mnupClick();
    void mndownClick();
    void mnleftClick();
    void mnrightClick();
    // 拡大, 縮小
    void mnbiggerClick();
    void mnsmallerClick();
    // 原図
    void mnorgClick();
    // 図の調整 > 移動量変更 > 　５％, ２０％, ５０％, 100％
    void move05Click();
    void move20Click();
    void move50Click();
    void move100Click();
    // 図の調整 > 拡大(縮小)量変更 > １１０％, １４１％, ２００％
    void scall110Click();
    void scall141Click();
    void scall200Click();
    // The view image's mouse: a press, the moves while a button is held, the release. Positions in
    // view-image pixels; the shift state is not used, nor is the position of the release.
    void Image1MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void Image1MouseMove(Qt::KeyboardModifiers Shift, int X, int Y);
    void Image1MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

    // --- TForm2Output.cpp ---
    // 図の印刷 > 画面上の図を印刷する。
    void Print1Click();
    // 図の印刷 > プリンターの変更
    void prtsetClick();
    // 図のコピー > 左ドラッグ範囲をビップマップとしてコピーする。
    void N7Click();
    // 図のコピー > 左ドラッグ範囲をメタファイルとしてコピする。
    void N6Click();
    // ファイル > （工事中）現図の全体ををﾌｧｲﾙへ保存する。
    void N1Click();
    // ファイル > （工事中）画面上の図のみﾌｧｲﾙへ保存する。
    void N5Click();

    // --- TForm2Settings.cpp ---
    // 色表示変更 > 白黒表示に変更（次図から） / カラー表示に変更（次図から）
    void mnclrchgClick();
    // 色表示変更 > 線色、線幅変更（次図から）
    void mncolorsetClick();
    // the pen panel's OK
    void Button1Click();
    // the pen panel's colour swatches: pick pen 1 ... 9's colour
    void cllbl1Click();
    void cllbl2Click();
    void cllbl3Click();
    void cllbl4Click();
    void cllbl5Click();
    void cllbl6Click();
    void cllbl7Click();
    void cllbl8Click();
    void cllbl9Click();
    // 図の調整 > レーヤーの扱い方法 > レーヤー毎に図を変える, 全レーヤー重ねて作図
    void N9Click();
    void N10Click();
    // 図の調整 > 縮尺設定
    void N12Click();
    // the scale panel's OK
    void Button2Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // TForm2.cpp
    void FormCreate(const std::string& openedFileName);
    void FormDestroy();
    void buildMenus();
    // Closes the plot file (when one is named) and shows the default caption. Throws Failure when
    // closing reports an error; the file is forgotten all the same.
    void closePlotFile();
    // Clears the view image to white, stretches the picture into the view rectangle and clears
    // the selection flag.
    void redisplay();
    // Shows the outcome of a figure request: the view state of a new figure and its redisplay.
    void showFigure(zelkova::plot::PlotSession::Outcome outcome,
                    const zelkova::plot::FigureSettings& settings);

    // TForm2Navigation.cpp
    void buildButtonBar(QWidget* client);
    void wireNavigation();
    void showMagnification();
    zelkova::plot::ViewSize viewSize() const;
    // A button of the bar: the new view, its redisplay and, for the zooms, the percent box.
    void navigate(zelkova::plot::ViewCommand command);
    // The wheel (notches away from the user enlarge) and the keys that stand for the buttons.
    void Image1MouseWheel(int notches, int x, int y);
    void Image1NavigationKey(int key);

    // TForm2Output.cpp
    void wireOutput();

    // TForm2Settings.cpp
    void buildSettingsPanels(QWidget* client);
    void wireSettings();
    // The settings the next figure is drawn with, read from the panels now.
    zelkova::plot::FigureSettings currentSettings() const;
    // Each pen colour name and its name label from the colour of the pen's swatch.
    void penColourNamesFromSwatches();
    // The steps of a swatch click, for pen 1 to 9.
    void pickPenColour(int pen);

    zelkova::platform::Services& m_services;
    std::function<void()> m_showEditor;
    std::function<void(QObject*)> m_exitApplication;

    zelkova::image::ImageFiles m_imageFiles; // decodes the pictures that figures place
    zelkova::plot::PlotSession m_session;
    zelkova::plot::ViewerState m_state;
    QString m_initialFolder; // of the open dialog

    // ファイル
    QMenu* plot1 = nullptr;
    QAction* file1 = nullptr;
    QAction* N1 = nullptr; // （工事中）現図の全体ををﾌｧｲﾙへ保存する。
    QAction* N5 = nullptr; // （工事中）画面上の図のみﾌｧｲﾙへ保存する。
    QAction* Zelkova1 = nullptr;
    // 次の図を作図
    QMenu* next1 = nullptr;
    QAction* N2 = nullptr;
    // 図の印刷
    QMenu* Print1 = nullptr;
    QAction* prtorg = nullptr;
    QAction* prtset = nullptr;
    // 図の調整
    QMenu* MOVE1 = nullptr;
    QMenu* movechg = nullptr;
    QAction* move05 = nullptr;
    QAction* move20 = nullptr;
    QAction* move50 = nullptr;
    QAction* move100 = nullptr;
    QMenu* scallchg = nullptr;
    QAction* scall110 = nullptr;
    QAction* scall141 = nullptr;
    QAction* scall200 = nullptr;
    QMenu* N8 = nullptr; // レーヤーの扱い方法
    QAction* N9 = nullptr;
    QAction* N10 = nullptr;
    QAction* N12 = nullptr; // 縮尺設定
    // 色表示変更
    QMenu* clrchg = nullptr;
    QAction* mnclrchg = nullptr;
    QAction* mncolorset = nullptr;
    QAction* N11 = nullptr;
    // 編集画面へ戻る
    QMenu* back1 = nullptr;
    QAction* mnback = nullptr;
    // 図のコピー
    QMenu* Copy1 = nullptr;
    QAction* N7 = nullptr;
    QAction* N6 = nullptr;
    // ヘルプ
    QAction* Help1 = nullptr;

    zelkova::plot::ViewImage* Image1 = nullptr;

    // The button bar.
    QFrame* Panel1 = nullptr;
    QPushButton* btnleft = nullptr;
    QPushButton* btnright = nullptr;
    QPushButton* btnup = nullptr;
    QPushButton* btndown = nullptr;
    QPushButton* btnbigger = nullptr;
    QPushButton* btnsmaller = nullptr;
    QLineEdit* Edit1 = nullptr; // the percent box
    QPushButton* btnorg = nullptr;
    // The mouse on the view image.
    zelkova::plot::MouseGesture m_gesture;

    // The pen panel and the scale panel.
    zelkova::plot::PenPanel* colorpanel = nullptr;
    zelkova::plot::ScalePanel* Panel2 = nullptr;
};
