// The editor window, Zelkova's main window and hub: one text document with its file and edit
// commands, find and replace, run-file detection and colouring, the caret indicators, and the
// commands that run the run file and open the plot viewer, the listing printer and the help window.
#pragma once

#include "editor/DocumentState.h"
#include "editor/LoadedLines.h"
#include "listing/PageTable.h"
#include "platform/qt/Services.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class TForm2;
class TprtForm1;

namespace zelkova::editor {
class EditorTextArea;
class RunFileHighlighter;
class SearchDialog;
} // namespace zelkova::editor

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // Creation runs FormCreate: the window shows itself, loads `commandLineFile` when it names an
    // existing file, and creates the listing printer window.
    TForm1(zelkova::platform::Services& services, const QString& commandLineFile, QWidget* parent = nullptr);
    ~TForm1() override;

    // The plot viewer, created after this window; the run reads its caption, N4Click shows it.
    void setPlotViewer(TForm2* viewer);

    // The document state the other windows read.
    const zelkova::editor::DocumentState& documentState() const { return m_state; }
    const std::string& documentName() const { return m_state.documentName; }
    const std::string& openedFileName() const { return m_state.openedFileName; }
    bool isModified() const;
    bool isRunFile() const { return m_state.runFile; }
    zelkova::listing::ListingPageTable& pageTable() { return m_pageTable; }

signals:
    // Exit or the close box ends the application; main() quits the event loop on it.
    void applicationEnding();

public slots:
    // ファイル
    void New1Click();                           // 新規作成
    void Open1Click();                          // 開く
    void Save1Click();                          // 上書き保存
    void Save2Click();                          // 名前を付けて保存
    void Print1Click();                         // 普通の印刷
    void FOTRAN1Click();                        // FOTRANｱｳﾄﾌﾟｯﾄﾌｧｲﾙの印刷
    void Exit1Click(QObject* sender = nullptr); // 終了; also the plot viewer's ending item
    // 編集 (and the context menu)
    void Undo1Click();      // 元に戻す（直前一回のみ）
    void Copy1Click();      // コピー
    void Cut1Click();       // 切り取り
    void Paste1Click();     // 貼り付け
    void flnmpaste1Click(); // 参照からﾌｧｲﾙ名貼り付け
    void Find1Click();      // 検索
    void Replace1Click();   // 置き換え
    // ﾌﾟﾛｸﾞﾗﾑの実行 > EX文を実行します。ＯＫ
    void N1Click();
    // 結果図の作図 > 画面上に結果図を描画します。ＯＫ
    void N4Click();
    // ヘルプ
    void Help1Click();

    // The find dialog's Find Next; the replace dialog's Find Next, and its Replace and Replace All.
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace();

    // Run-file detection and recolouring.
    void sciflgchk();
    void cmtflgchk();

    // Events of the text area and the timer.
    void RichEdit1Change();
    void RichEdit1KeyDown();
    void RichEdit1MouseDown();
    void Timer1Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class SaveOutcome { Saved, NotSaved };

    void createComponents();
    void createMenus();
    void FormCreate(const QString& commandLineFile);
    void createListingPrinter(bool suppressOpenedFileName);

    SaveOutcome save();
    SaveOutcome saveAs();
    // Asks "変更を保存します" for a modified document and saves on Yes; false when the user said Yes
    // and the document did not get saved, so that the command must not go on.
    bool offerToSave(SaveOutcome (TForm1::*saveCommand)());
    bool writeDocument(const std::string& path);
    std::string documentBytes() const;

    void loadDocument(const std::string& path, const std::string& bytes);
    // Follows which loaded line each line of the text area descends from (QTextDocument's
    // contentsChange).
    void followLineEdits(int position, int charsRemoved, int charsAdded);
    void countListingPages();
    void setModified(bool modified);
    std::size_t lineCount() const;

    void refreshIndicators();
    void refreshPageIndicator();
    void refreshPositionIndicator();
    void showPopupMenu(const QPoint& position);
    // Inserts `text` at the caret, in place of the selection, as an undo step of its own.
    void insertAsOneStep(const QString& text);

    void openSearchDialog(zelkova::editor::SearchDialog& dialog);
    // The first occurrence of the dialog's search text at or after `start`, with its own
    // match-case option; -1 when there is none.
    int findFrom(const zelkova::editor::SearchDialog& dialog, int start) const;
    void selectFound(int position, int length);
    void findNext(const zelkova::editor::SearchDialog& dialog, int start, zelkova::platform::MessageKind box);
    std::size_t replaceAllFrom(int start);
    std::string viewerCaption() const;

    zelkova::platform::Services& m_services;
    zelkova::editor::DocumentState m_state;
    zelkova::listing::ListingPageTable m_pageTable;
    std::unique_ptr<TprtForm1> m_prtForm;
    TForm2* m_plotViewer = nullptr;

    // The file as last loaded or saved, line by line: saving writes every line the user did not
    // change with these bytes.
    zelkova::editor::LoadedLines m_lines;

    QString m_saveDialogFolder;
    bool m_suppressOpenedFileName = false;
    bool m_ending = false;

    // Components
    zelkova::editor::EditorTextArea* RichEdit1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* m_statusPanel = nullptr; // the status bar's one simple panel
    QTimer* Timer1 = nullptr;
    std::unique_ptr<zelkova::editor::RunFileHighlighter> m_highlighter;
    QMenu* PopupMenu1 = nullptr;
    QMenu* page1 = nullptr;
    zelkova::editor::SearchDialog* finddialog1 = nullptr;
    zelkova::editor::SearchDialog* ReplaceDialog1 = nullptr;
};
