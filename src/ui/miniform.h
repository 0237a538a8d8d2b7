// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class Settings;
namespace Ui {
class MiniForm;
}

// The small status window: the clock as its title, three buttons (restore, close the
// program, view the log) and today's job count. What the buttons do is up to its owner.
class MiniForm : public QWidget
{
    Q_OBJECT
public:
    explicit MiniForm(Settings &settings, QWidget *parent = nullptr);
    ~MiniForm() override;

    // Shows it where it was last closed (iMiniForm Left and Top), with its stored size
    // when one is stored.
    void showStored();
    // Hides it and stores its place and size.
    void closeStored();

    void setJobCount(const QString &text);
    QString jobCount() const;

    // Whether a close by the window manager may hide it. While it is the only way back to
    // the program (no tray icon), such a close is refused; the program's own end is not.
    void setMayHide(std::function<bool()> mayHide) { m_mayHide = std::move(mayHide); }

signals:
    void restoreClicked();
    void closeClicked();
    void logClicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    std::unique_ptr<Ui::MiniForm> m_ui;
    Settings &m_settings;
    std::function<bool()> m_mayHide;
    QSize m_designed;
};
