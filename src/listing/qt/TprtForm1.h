// The listing printer's print settings window ("印刷の設定"). Created once by the editor window at
// start-up and kept for the whole run; shown modally from the editor's listing-print command.
#pragma once

#include "listing/PageTable.h"
#include "platform/qt/Services.h"

#include <QDialog>
#include <QFont>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class UpDown;

class TprtForm1 : public QDialog {
    Q_OBJECT
public:
    // `openedFileName` reads the editor's opened file name (native, UTF-8) at the moment of use.
    // Construction runs FormCreate: landscape, copies 1, and the counting pass when a file is
    // open. A failure of that count is shown by the general error report; construction never
    // throws, so the window always exists.
    TprtForm1(zelkova::platform::Services& services, zelkova::listing::ListingPageTable& pageTable,
              std::function<std::string()> openedFileName, QWidget* parent = nullptr);

    // Fit check, counting pass, then (unless the count-only request is set) confirmation and
    // printing. Throws zelkova::text::Failure when the file or the printer fails, or a field is
    // not an integer, so that the editor's File Open can show its own message. Every call
    // consumes the count-only request, also one that stops before its count.
    void printsub();

    // The title field Edit1.
    void setTitle(const QString& title);

    // The print font (as the font dialog last chose it).
    const QFont& printFont() const { return m_printFont; }

private:
    void FormCreate();
    // 印刷実行
    void Button3Click();
    // 戻る
    void Button1Click();
    // ﾌｫﾝﾄの変更
    void Button2Click();
    // ﾌﾟﾘﾝﾀｰの変更
    void Button4Click();

    void showProgress(const QString& text);
    QString suggestedPdfName(const std::string& listing) const;

    zelkova::platform::Services& m_services;
    zelkova::listing::ListingPageTable& m_pageTable;
    std::function<std::string()> m_openedFileName;
    QFont m_printFont; // held by FontDialog1

    QLabel* Label1 = nullptr;   // the title's label; progress and end texts of a print
    QLineEdit* Edit1 = nullptr; // title
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr; // characters per line K
    UpDown* UpDown1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit3 = nullptr; // lines per page L
    UpDown* UpDown2 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* Edit4 = nullptr; // page initial value ("-777": no page numbers)
    QLabel* Label5 = nullptr;
    QLineEdit* Edit5 = nullptr; // first page F
    QLabel* Label6 = nullptr;
    QLineEdit* Edit6 = nullptr; // last page T
    QLabel* Label7 = nullptr;   // hint: -777
    QLabel* Label8 = nullptr;   // hint: the initial value belongs to page 1
    QPushButton* Button3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button4 = nullptr;
};
