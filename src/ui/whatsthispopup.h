// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QFrame>

class QLabel;

// The small borderless window of a "What's This" text, created once and reused. A click
// or a key press hides it.
class WhatsThisPopup : public QFrame
{
    Q_OBJECT
public:
    explicit WhatsThisPopup(QWidget *parent = nullptr);

    // Shows `text` centred below `point` (screen coordinates), kept on the screen.
    void showText(const QString &text, const QPoint &point);
    QString text() const;
    // Where the window goes for a text of `size` below `point` on a screen of `screen`.
    static QRect placement(const QSize &size, const QPoint &point, const QRect &screen);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QLabel *m_label;
};
