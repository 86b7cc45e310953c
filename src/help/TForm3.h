// The help window ("ヘルプ画面"): a fixed help text that can be read, typed into and printed. A new
// one is created for each use, shown modally and destroyed when it closes, so every opening starts
// again from the fixed text.
#pragma once

#include "platform/qt/Services.h"

#include <QDialog>

class QTextEdit;

class TForm3 : public QDialog {
    Q_OBJECT
public:
    explicit TForm3(zelkova::platform::Services& services, QWidget* parent = nullptr);

public slots:
    // 戻る
    void N1Click();
    // 印刷 > 全部印刷しますがいいですか？ＯＫ
    void Print1Click();

private:
    zelkova::platform::Services& m_services;
    QTextEdit* RichEdit1 = nullptr;
};
