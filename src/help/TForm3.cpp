// The help window: its caption, the text area with a short help text, and the item that closes it.
// The full help text and its printing come later.
#include "help/TForm3.h"

#include "platform/qt/Fonts.h"

#include <QAction>
#include <QMenuBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
const char* const kHelpText =
    "Zelkova の使い方\n"
    "\n"
    "1. Fortranﾌﾟﾛｸﾞﾗﾑ実行\n"
    "   実行用ﾌｧｲﾙ(*.FRT)を開き、「ﾌﾟﾛｸﾞﾗﾑの実行」の「EX文を実行します。ＯＫ」を選びます。\n"
    "   R の行は入力ﾌｧｲﾙ、W の行は出力ﾌｧｲﾙ、P の行は実行するﾌﾟﾛｸﾞﾗﾑです。\n"
    "   { の行から } の行までは注釈です。\n"
    "\n"
    "2. Fortranﾌﾟﾛｸﾞﾗﾑ出力の印刷\n"
    "   「ファイル」の「FOTRANｱｳﾄﾌﾟｯﾄﾌｧｲﾙの印刷」で、開いたﾌｧｲﾙを印刷します。\n"
    "\n"
    "3. 結果図の描画方法\n"
    "   「結果図の作図」で作図画面に切り替えます。\n";
} // namespace

TForm3::TForm3(zelkova::platform::Services& services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("ヘルプ画面"));
    resize(676, 502);

    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("MainMenu1"));
    auto* N1 = new QAction(QStringLiteral("戻る(&E)"), this);
    N1->setObjectName(QStringLiteral("N1"));
    connect(N1, &QAction::triggered, this, &TForm3::N1Click);
    menuBar->addAction(N1);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setFont(zelkova::platform::japaneseFixedFont(16));
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setPlainText(QString::fromUtf8(kHelpText));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(RichEdit1);
}

void TForm3::N1Click() {
    reject();
}
