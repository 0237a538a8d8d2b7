// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/trayframes.h"

#include <QPainter>
#include <QPixmap>
#include <QtMath>

namespace {

QPixmap drawFrame(int index, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QPointF centre(s / 2, s / 2);
    const qreal radius = s / 2 - qMax(1.0, s / 16);
    // Fixed colours: the panel's own background is unknown, so the dial brings its own.
    painter.setPen(QPen(QColor(0x1f, 0x3a, 0x5f), qMax(1.0, s / 12)));
    painter.setBrush(QColor(0xf4, 0xf1, 0xe8));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(0x1f, 0x3a, 0x5f), qMax(1.0, s / 16)));
    for (int mark = 0; mark < TrayFrames::count; ++mark) {
        const qreal a = qDegreesToRadians(mark * 45.0);
        const QPointF dir(qSin(a), -qCos(a));
        painter.drawPoint(centre + dir * radius * 0.78);
    }
    const qreal angle = qDegreesToRadians(index * 45.0);
    const QPointF tip = centre + QPointF(qSin(angle), -qCos(angle)) * radius * 0.72;
    painter.setPen(QPen(QColor(0xc0, 0x39, 0x2b), qMax(1.5, s / 9), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, tip);
    painter.setBrush(QColor(0x1f, 0x3a, 0x5f));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(centre, s / 12, s / 12);
    return pixmap;
}

} // namespace

TrayFrames::TrayFrames()
{
    m_frames.reserve(count);
    for (int i = 0; i < count; ++i) {
        QIcon icon;
        for (int size : {16, 22, 32, 48})
            icon.addPixmap(drawFrame(i, size));
        m_frames.append(icon);
    }
}

const QIcon &TrayFrames::frame(int index) const { return m_frames.at(((index % count) + count) % count); }
