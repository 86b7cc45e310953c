// Placeholder of the print settings window: the caption and the title field, until pagination and
// printing arrive.
#include "listing/qt/TprtForm1.h"

#include <QLineEdit>
#include <QVBoxLayout>

TprtForm1::TprtForm1(zelkova::platform::Services& services, zelkova::listing::ListingPageTable& pageTable,
                     std::function<std::string()> openedFileName, QWidget* parent)
    : QDialog(parent), m_services(services), m_pageTable(pageTable), m_openedFileName(std::move(openedFileName)) {
    setObjectName(QStringLiteral("prtForm1"));
    setWindowTitle(QStringLiteral("印刷の設定"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    FormCreate();
}

void TprtForm1::FormCreate() {
    if (!m_openedFileName().empty())
        Edit1->setText(QString::fromStdString(m_openedFileName()));
    m_pageTable.countOnlyRequest = false;
}

void TprtForm1::printsub() { m_pageTable.countOnlyRequest = false; }

void TprtForm1::setTitle(const QString& title) { Edit1->setText(title); }
