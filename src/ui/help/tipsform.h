// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/help/helphistory.h"

#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class QPrinter;
class Settings;
namespace Ui {
class TipsForm;
}

// The embedded help: an index of topics and one topic's text, with Next and Previous
// along the chain of topics, printing, copying, a remembered font and a way to open a help
// file with the desktop's viewer. One window for the whole run, shown again on each use;
// every showing starts on the index.
class TipsForm : public QWidget
{
    Q_OBJECT
public:
    explicit TipsForm(Settings &settings, QWidget *parent = nullptr);
    ~TipsForm() override;

    // Shows topic `number` (the window itself is shown by the caller).
    void showTopic(int number);
    void showIndex();
    int currentTopic() const { return m_current; }
    bool indexShowing() const;
    // What "P&rint" prints now.
    QString printText() const;

    // Prints on `printer`; false when nothing could be printed.
    bool print(QPrinter &printer) const;

    // Seams for tests: where "P&rint" prints (the default printer unless set; nothing when
    // there is none) and how "Open &Help" hands a file to the desktop.
    void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory) { m_printerFactory = std::move(factory); }
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { m_urlOpener = std::move(opener); }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void next();
    void previous();
    void printClicked();
    void chooseFont();
    void openHelpFile();
    void applyFont(const QFont &font);
    void readFont();
    void place();
    void saveSettings();

    std::unique_ptr<Ui::TipsForm> m_ui;
    Settings &m_settings;
    HelpHistory m_history;
    int m_current = 0;
    int m_next = 0;
    QFont m_font;
    QString m_fontName; // as stored, also when the desktop lacks it
    QColor m_fontColor;
    bool m_systemColor = true;
    std::function<std::unique_ptr<QPrinter>()> m_printerFactory;
    std::function<bool(const QUrl &)> m_urlOpener;
};
