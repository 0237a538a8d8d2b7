// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/miniform.h"

#include "store/settings.h"
#include "ui_miniform.h"

#include <QCloseEvent>

MiniForm::MiniForm(Settings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ui(std::make_unique<Ui::MiniForm>()), m_settings(settings)
{
    m_ui->setupUi(this);
    m_ui->RestoreButton->setIcon(QIcon::fromTheme(QStringLiteral("view-restore"),
        QIcon(QStringLiteral(":/halvorn/icons/restore.svg"))));
    m_ui->CloseButton->setIcon(QIcon::fromTheme(QStringLiteral("application-exit"),
        QIcon(QStringLiteral(":/halvorn/icons/exit.svg"))));
    m_ui->LogButton->setIcon(QIcon::fromTheme(QStringLiteral("text-x-generic"),
        QIcon(QStringLiteral(":/halvorn/icons/log.svg"))));
    connect(m_ui->RestoreButton, &QToolButton::clicked, this, &MiniForm::restoreClicked);
    connect(m_ui->CloseButton, &QToolButton::clicked, this, &MiniForm::closeClicked);
    connect(m_ui->LogButton, &QToolButton::clicked, this, &MiniForm::logClicked);
    setJobCount(QString());
    // Room for one line of text even while the panel is empty.
    m_ui->JobCountPanel->setMinimumHeight(
        m_ui->JobCountPanel->fontMetrics().height() + 2 * m_ui->JobCountPanel->frameWidth() + 2);
    // 104 by 41 as designed, or more where the desktop's font needs it.
    m_designed = QSize(104, 41).expandedTo(sizeHint());
    setFixedSize(m_designed);
}

MiniForm::~MiniForm() = default;

void MiniForm::showStored()
{
    move(m_settings.integer(settings::MiniFormLeft), m_settings.integer(settings::MiniFormTop));
    // The stored size is the window's own (without the title bar), so it does not grow by
    // the frame at every close; never smaller than its contents.
    const Setting::Section config = Setting::Section::Config;
    if (m_settings.contains(config, settings::MiniFormWidth.nameText())
        && m_settings.contains(config, settings::MiniFormHeight.nameText()))
        setFixedSize(QSize(m_settings.integer(settings::MiniFormWidth),
            m_settings.integer(settings::MiniFormHeight)).expandedTo(m_designed));
    show();
    raise();
}

void MiniForm::closeStored()
{
    const QPoint place = pos();
    m_settings.setInteger(settings::MiniFormLeft, place.x());
    m_settings.setInteger(settings::MiniFormTop, place.y());
    m_settings.setInteger(settings::MiniFormWidth, width());
    m_settings.setInteger(settings::MiniFormHeight, height());
    hide();
}

void MiniForm::setJobCount(const QString &text) { m_ui->JobCountPanel->setText(text); }

QString MiniForm::jobCount() const { return m_ui->JobCountPanel->text(); }

void MiniForm::closeEvent(QCloseEvent *event)
{
    // The program's own end (QApplication::quit closes every window) is never refused.
    if (!event->spontaneous()) {
        if (isVisible())
            closeStored();
        event->accept();
        return;
    }
    // The window manager's close only hides it, and not even that while it is the only
    // way back to the program.
    event->ignore();
    if (m_mayHide && m_mayHide())
        closeStored();
}
