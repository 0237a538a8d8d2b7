// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/help/tipsform.h"

#include "store/settings.h"
#include "ui/dialogs.h"
#include "ui/help/helptext.h"
#include "ui/help/helptopics.h"
#include "ui_tipsform.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

// The stored value of the system window-text colour.
constexpr int systemWindowText = -2147483640;

enum StyleBit { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

// Window positions are stored as 16-bit unsigned numbers.
int stored16(Settings &settings, const Setting &setting) { return settings.integer(setting) & 0xffff; }

} // namespace

TipsForm::TipsForm(Settings &settings, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(std::make_unique<Ui::TipsForm>()), m_settings(settings)
{
    m_ui->setupUi(this);
    setWindowTitle(HelpText::caption());
    m_ui->IndexHeading->setText(HelpText::indexHeading());
    m_ui->IndexButton->setText(HelpText::indexButton());
    m_ui->PreviousButton->setText(HelpText::previousButton());
    m_ui->NextButton->setText(HelpText::nextButton());
    m_ui->CopyButton->setText(HelpText::copyButton());
    m_ui->PrintButton->setText(HelpText::printButton());
    m_ui->FontButton->setText(HelpText::fontButton());
    m_ui->OpenHelpButton->setText(HelpText::openHelpButton());
    m_ui->CloseButton->setText(HelpText::closeButton());

    m_history.clear();
    m_ui->PreviousButton->setEnabled(false);
    m_ui->NextButton->setEnabled(false);
    for (const HelpTopics::Entry &entry : HelpTopics::entries()) {
        auto *item = new QListWidgetItem(entry.title, m_ui->TopicList);
        item->setData(Qt::UserRole, entry.number);
    }
    m_ui->TopicList->setCurrentRow(0);

    connect(m_ui->TopicList, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { showTopic(item->data(Qt::UserRole).toInt()); });
    connect(m_ui->IndexButton, &QPushButton::clicked, this, &TipsForm::showIndex);
    connect(m_ui->NextButton, &QPushButton::clicked, this, &TipsForm::next);
    connect(m_ui->PreviousButton, &QPushButton::clicked, this, &TipsForm::previous);
    connect(m_ui->CopyButton, &QPushButton::clicked, m_ui->TopicText, &QPlainTextEdit::copy);
    connect(m_ui->PrintButton, &QPushButton::clicked, this, &TipsForm::printClicked);
    connect(m_ui->FontButton, &QPushButton::clicked, this, &TipsForm::chooseFont);
    connect(m_ui->OpenHelpButton, &QPushButton::clicked, this, &TipsForm::openHelpFile);
    connect(m_ui->CloseButton, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);

    m_printerFactory = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info);
    };
    m_urlOpener = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
}

TipsForm::~TipsForm() = default;

bool TipsForm::indexShowing() const { return m_ui->Pages->currentWidget() == m_ui->IndexPage; }

void TipsForm::showEvent(QShowEvent *event)
{
    showIndex();
    readFont();
    place();
    QWidget::showEvent(event);
}

void TipsForm::showTopic(int number)
{
    m_current = number;
    m_ui->TopicText->clear();
    if (const std::optional<HelpTopics::Topic> topic = HelpTopics::topic(number)) {
        m_ui->TopicHeading->setText(topic->heading);
        m_next = topic->next;
        m_ui->NextButton->setEnabled(m_next != 0);
        m_ui->NextHint->setVisible(m_next != 0);
        if (m_next != 0)
            m_ui->NextHint->setText(HelpText::nextHint(topic->nextWords));
        m_ui->TopicText->setPlainText(topic->body);
        m_ui->TopicText->moveCursor(QTextCursor::Start);
    }
    m_ui->Pages->setCurrentWidget(m_ui->TopicPage);
    m_ui->TopicText->setFocus();
}

void TipsForm::showIndex()
{
    m_ui->PreviousButton->setEnabled(!m_history.isEmpty());
    m_ui->NextButton->setEnabled(false);
    m_ui->Pages->setCurrentWidget(m_ui->IndexPage);
    m_ui->TopicList->setFocus();
}

void TipsForm::next()
{
    if (m_next == 0)
        return;
    m_ui->PreviousButton->setEnabled(true);
    m_history.push(m_current);
    showTopic(m_next);
}

void TipsForm::previous()
{
    if (m_history.isEmpty()) {
        m_ui->PreviousButton->setEnabled(false);
        return;
    }
    const int topic = m_history.pop();
    m_ui->PreviousButton->setEnabled(!m_history.isEmpty());
    showTopic(topic);
}

QString TipsForm::printText() const
{
    if (!indexShowing())
        return u'\n' + m_ui->TopicHeading->text() + u"\n\n"_s + m_ui->TopicText->toPlainText();
    QStringList lines{QString(), HelpText::printIndexTitle(), QString()};
    for (const HelpTopics::Entry &entry : HelpTopics::entries())
        lines.append(entry.title);
    return lines.join(u'\n');
}

bool TipsForm::print(QPrinter &printer) const
{
    if (!printer.isValid())
        return false;
    QTextDocument document;
    document.setDefaultFont(m_font);
    document.setPlainText(printText());
    document.print(&printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void TipsForm::printClicked()
{
    std::unique_ptr<QPrinter> printer = m_printerFactory();
    if (!printer) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, HelpText::noPrinter());
        return;
    }
    if (print(*printer))
        Dialogs::current().message(this, Dialogs::Kind::Information, HelpText::printed());
    else
        Dialogs::current().message(this, Dialogs::Kind::Error, HelpText::printFailed());
}

void TipsForm::chooseFont()
{
    if (const std::optional<QFont> font = Dialogs::current().font(this, m_font)) {
        m_fontName = font->family();
        applyFont(*font);
    }
}

void TipsForm::openHelpFile()
{
    const QString file = Dialogs::current().openFileName(this, HelpText::openHelpTitle(), QString(),
        HelpText::openHelpFilter());
    if (file.isEmpty())
        return;
    if (!QFileInfo(file).isFile() || !m_urlOpener(QUrl::fromLocalFile(file)))
        Dialogs::current().message(this, Dialogs::Kind::Warning, HelpText::cannotOpen(file));
}

void TipsForm::applyFont(const QFont &font)
{
    m_font = font;
    m_ui->TopicText->setFont(font);
    m_ui->TopicList->setFont(font);
    QPalette palette = m_ui->TopicText->palette();
    palette.setColor(QPalette::Text, m_systemColor ? QGuiApplication::palette().color(QPalette::Text) : m_fontColor);
    m_ui->TopicText->setPalette(palette);
    m_ui->TopicList->setPalette(palette);
}

void TipsForm::readFont()
{
    m_fontName = m_settings.text(settings::HelpFontName);
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    // A font the desktop lacks ("MS Sans Serif") falls back to its own; the name is kept.
    if (QFontDatabase::hasFamily(m_fontName))
        font.setFamily(m_fontName);
    const int size = m_settings.integer(settings::HelpFontSize);
    if (size > 0)
        font.setPointSize(size);
    const int style = m_settings.integer(settings::HelpFontStyle);
    font.setBold(style & Bold);
    font.setItalic(style & Italic);
    font.setUnderline(style & Underline);
    font.setStrikeOut(style & StrikeOut);
    const int color = m_settings.integer(settings::HelpFontColor);
    m_systemColor = color == systemWindowText;
    // Stored as the Windows colour value 0x00BBGGRR.
    m_fontColor = QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff);
    applyFont(font);
}

void TipsForm::place()
{
    QRect frame(10, 10, width(), height());
    if (stored16(m_settings, settings::HelpTop) > 0) {
        frame.moveTop(stored16(m_settings, settings::HelpTop));
        if (const int left = stored16(m_settings, settings::HelpLeft); left > 0)
            frame.moveLeft(left);
        if (const int w = stored16(m_settings, settings::HelpWidth); w > 0)
            frame.setWidth(w);
        if (const int h = stored16(m_settings, settings::HelpHeight); h > 0)
            frame.setHeight(h);
    }
    frame.setSize(frame.size().expandedTo(minimumSizeHint()));
    // A position stored on a screen that is gone (or a value out of range) must not put
    // the window where nobody can see it.
    QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        // The stored place is the frame's, the stored size the inside's.
        const QSize border = frameGeometry().size() - geometry().size();
        const QRect area = screen->availableGeometry();
        frame.setWidth(std::min(frame.width(), area.width() - border.width()));
        frame.setHeight(std::min(frame.height(), area.height() - border.height()));
        frame.moveLeft(std::clamp(frame.left(), area.left(), area.right() - frame.width() - border.width() + 1));
        frame.moveTop(std::clamp(frame.top(), area.top(), area.bottom() - frame.height() - border.height() + 1));
    }
    resize(frame.size());
    move(frame.topLeft());
}

void TipsForm::closeEvent(QCloseEvent *event)
{
    saveSettings();
    QWidget::closeEvent(event);
}

void TipsForm::saveSettings()
{
    m_settings.setInteger(settings::HelpLeft, x());
    m_settings.setInteger(settings::HelpTop, y());
    m_settings.setInteger(settings::HelpWidth, width());
    m_settings.setInteger(settings::HelpHeight, height());
    m_settings.setInteger(settings::HelpFontColor,
        m_systemColor ? systemWindowText : int(m_fontColor.red() | m_fontColor.green() << 8 | m_fontColor.blue() << 16));
    m_settings.setText(settings::HelpFontName, m_fontName);
    m_settings.setInteger(settings::HelpFontSize, m_font.pointSize());
    m_settings.setInteger(settings::HelpFontStyle, (m_font.bold() ? Bold : 0) | (m_font.italic() ? Italic : 0)
            | (m_font.underline() ? Underline : 0) | (m_font.strikeOut() ? StrikeOut : 0));
}
