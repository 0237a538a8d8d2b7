// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/whatsthispopup.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int wrapWidth = 260;
constexpr int padding = 16;
constexpr int edge = 4;
} // namespace

WhatsThisPopup::WhatsThisPopup(QWidget *parent)
    : QFrame(parent, Qt::Popup | Qt::FramelessWindowHint), m_label(new QLabel(this))
{
    setFrameShape(QFrame::Box);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setAutoFillBackground(true);
    m_label->setWordWrap(true);
    m_label->setForegroundRole(QPalette::ToolTipText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(padding / 2, padding / 2, padding / 2, padding / 2);
    layout->addWidget(m_label);
}

QString WhatsThisPopup::text() const { return m_label->text(); }

QRect WhatsThisPopup::placement(const QSize &size, const QPoint &point, const QRect &screen)
{
    QRect r(QPoint(point.x() - size.width() / 2, point.y() + 20), size);
    if (r.left() < screen.left() + edge)
        r.moveLeft(screen.left() + edge);
    if (r.right() > screen.right() - edge)
        r.moveRight(screen.right() - edge);
    // Kept on the screen at the bottom too: moved above the point instead.
    if (r.bottom() > screen.bottom() - edge)
        r.moveBottom(std::min(point.y() - 4, screen.bottom() - edge));
    return r;
}

void WhatsThisPopup::showText(const QString &text, const QPoint &point)
{
    QString flat = text;
    flat.remove(u'\r');
    flat.remove(u'\n');
    m_label->setText(flat);
    const QRect wrapped = QFontMetrics(m_label->font())
                              .boundingRect(QRect(0, 0, wrapWidth, 10000), Qt::TextWordWrap, flat);
    const QSize size(wrapped.width() + padding, wrapped.height() + padding);
    QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect r = placement(size, point, screen ? screen->geometry() : QRect(0, 0, 1 << 16, 1 << 16));
    m_label->setFixedWidth(wrapped.width() + 2);
    setGeometry(r);
    show();
}

void WhatsThisPopup::mousePressEvent(QMouseEvent *) { hide(); }

void WhatsThisPopup::keyPressEvent(QKeyEvent *) { hide(); }
