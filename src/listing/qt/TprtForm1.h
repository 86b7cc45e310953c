// The listing printer's print settings window ("印刷の設定"). Created once by the editor window at
// start-up and kept for the whole run; shown modally from the editor's listing-print command.
#pragma once

#include "listing/PageTable.h"
#include "platform/qt/Services.h"

#include <QDialog>

#include <functional>
#include <string>

class QLineEdit;

class TprtForm1 : public QDialog {
    Q_OBJECT
public:
    // `openedFileName` reads the editor's opened file name (native, UTF-8) at the moment of use.
    // Construction runs FormCreate: landscape, copies 1, and the counting pass when a file is open.
    TprtForm1(zelkova::platform::Services& services, zelkova::listing::ListingPageTable& pageTable,
              std::function<std::string()> openedFileName, QWidget* parent = nullptr);

    // Fit check, counting pass, then (unless the count-only request is set) confirmation and
    // printing. Throws zelkova::text::Failure when the file or the printer fails, so that the
    // editor's File Open can show its own message.
    void printsub();

    // The title field Edit1.
    void setTitle(const QString& title);

private:
    void FormCreate();

    zelkova::platform::Services& m_services;
    zelkova::listing::ListingPageTable& m_pageTable;
    std::function<std::string()> m_openedFileName;
    QLineEdit* Edit1 = nullptr;
};
