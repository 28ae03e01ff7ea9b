// The header and footer panel: the cell table, the settings and the closing question.
#include "panels/header_footer/border_controller.h"

#include "document/vek_document.h"
#include "model/calendar_date_format.h"
#include "panels/docinfo/document_settings.h"
#include "panels/format_lists.h"
#include "panels/header_footer/margin_warnings.h"
#include "panels/header_footer/rich_text_cells.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

constexpr float MinRowHeight = 32.0f;

} // namespace

QString VekBorderController::cellKey(int row, int column)
{
    static const char *const places[] = {"Lt", "Md", "Rt"};
    static const char *const pages[] = {"", "O", "E"};
    return QLatin1String(row < 3 ? "hd" : "ft") + QLatin1String(places[column]) + QLatin1String(pages[row % 3]);
}

const QStringList &VekBorderController::variables()
{
    static const QStringList names = {QStringLiteral("#VDATE"), QStringLiteral("#VPAGE"), QStringLiteral("#VPAGETOTAL"),
                                      QStringLiteral("#VTITLE"), QStringLiteral("#VAUTHOR")};
    return names;
}

const QStringList &VekBorderController::defaultDateFormats()
{
    static const QStringList formats = {QStringLiteral("%B %e, %Y"), QStringLiteral("%m/%d/%Y"),
                                        QStringLiteral("%Y/%m/%d"),  QStringLiteral("%d.%m.%Y"),
                                        QStringLiteral("%H:%M:%S"),  QStringLiteral("%p %I:%M:%S"),
                                        QStringLiteral("%Y-%m-%d %H:%M:%S %z")};
    return formats;
}

VekBorderController::VekBorderController(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("BorderPanel"));
    setWindowTitle(localized("Headers and Footers"));
    auto *layout = new QVBoxLayout(this);

    tblBorder = new QTableWidget(6, 4, this);
    tblBorder->setObjectName(QStringLiteral("tblBorder"));
    tblBorder->setHorizontalHeaderLabels({QString(), localized("Left"), localized("Middle"), localized("Right")});
    tblBorder->verticalHeader()->hide();
    tblBorder->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tblBorder->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    static const char *const types[] = {"Header", "  odd", "  even", "Footer", "  odd", "  even"};
    for (int row = 0; row < 6; ++row) {
        auto *type = new QTableWidgetItem(localized(types[row]));
        type->setFlags(Qt::ItemIsEnabled);
        tblBorder->setItem(row, 0, type);
        for (int column = 0; column < 3; ++column) {
            auto *editor = new QTextEdit(tblBorder);
            editor->setObjectName(cellKey(row, column));
            editor->setAcceptRichText(true);
            editor->installEventFilter(this);
            connect(editor, &QTextEdit::textChanged, this, [this, row, column] { cellEdited(row, column); });
            connect(editor, &QTextEdit::cursorPositionChanged, this, [this, editor] {
                if (!m_loading)
                    m_lastCell = editor;
            });
            tblBorder->setCellWidget(row, column + 1, editor);
        }
    }
    layout->addWidget(tblBorder);
    auto *oneLine = new QLabel(localized("Each cell holds one line of text."), this);
    oneLine->setObjectName(QStringLiteral("txOneLine"));
    layout->addWidget(oneLine);
    txMsg = new QLabel(this);
    txMsg->setObjectName(QStringLiteral("txMsg"));
    layout->addWidget(txMsg);

    auto *settings = new QGridLayout;
    pbDateFormat = new QComboBox(this);
    pbDateFormat->setObjectName(QStringLiteral("pbDateFormat"));
    txEgDate = new QLabel(this);
    txEgDate->setObjectName(QStringLiteral("txEgDate"));
    settings->addWidget(new QLabel(localized("Date format"), this), 0, 0);
    settings->addWidget(pbDateFormat, 0, 1);
    settings->addWidget(txEgDate, 0, 2);
    pbVars = new QComboBox(this);
    pbVars->setObjectName(QStringLiteral("pbVars"));
    pbVars->addItems({localized("Date"), localized("Page number"), localized("Number of pages"), localized("Title"),
                      localized("Author")});
    btnInsert = new QPushButton(localized("Insert"), this);
    btnInsert->setObjectName(QStringLiteral("btnInsert"));
    btnInsert->setFocusPolicy(Qt::NoFocus);
    settings->addWidget(pbVars, 1, 1);
    settings->addWidget(btnInsert, 1, 2);
    txPad = new QLineEdit(QStringLiteral("6.00"), this);
    txPad->setObjectName(QStringLiteral("txPad"));
    settings->addWidget(new QLabel(localized("Padding"), this), 2, 0);
    settings->addWidget(txPad, 2, 1);
    optEx1 = new QCheckBox(localized("Not on the first page"), this);
    optEx1->setObjectName(QStringLiteral("optEx1"));
    optExL = new QCheckBox(localized("Not on the last page"), this);
    optExL->setObjectName(QStringLiteral("optExL"));
    settings->addWidget(optEx1, 3, 1);
    settings->addWidget(optExL, 3, 2);
    layout->addLayout(settings);

    connect(pbDateFormat, &QComboBox::activated, this, [this] { updateBorderInfo(pbDateFormat); });
    connect(txPad, &QLineEdit::editingFinished, this, [this] { updateBorderInfo(txPad); });
    connect(optEx1, &QCheckBox::clicked, this, [this] { updateBorderInfo(optEx1); });
    connect(optExL, &QCheckBox::clicked, this, [this] { updateBorderInfo(optExL); });
    connect(btnInsert, &QPushButton::clicked, this, &VekBorderController::insertVariable);

    askToSwitchOn = [this] {
        return QMessageBox::question(this, localized("Border option is off."),
                                     localized("Headers and footers are not printed. Print them?"),
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    fillDateFormats();
    NotificationCenter::defaultCenter().addObserver(this, VekDateFormatDidChangeNotification, nullptr,
                                                    [this](const Notification &) { fillDateFormats(); });
    resize(640, 420);
}

VekBorderController::~VekBorderController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

VekDocument *VekBorderController::currentDocument() const
{
    return m_canvas ? &m_canvas->document() : nullptr;
}

QTextEdit *VekBorderController::cell(int row, int column) const
{
    return qobject_cast<QTextEdit *>(tblBorder->cellWidget(row, column + 1));
}

void VekBorderController::fillDateFormats()
{
    pbDateFormat->clear();
    const QStringList stored = FormatLists(UserDefaults::standardUserDefaults()).storedFormats(FormatKind::Date);
    pbDateFormat->addItems(stored.isEmpty() ? defaultDateFormats() : stored);
    pbDateFormat->setCurrentIndex(0);
    txEgDate->setText(describeDate(QDateTime::currentDateTime(), pbDateFormat->currentText()));
}

void VekBorderController::setupFor(DocInfoCanvas *canvas, bool showPanel)
{
    m_canvas = canvas;
    if (!canvas) {
        if (isVisible())
            hide();
        return;
    }
    loadDocument();
    if (showPanel && !isVisible()) {
        show();
        raise();
        activateWindow();
    }
}

void VekBorderController::loadDocument()
{
    VekDocument &document = m_canvas->document();
    const PropertyList &info = document.borderinfo();
    m_loading = true;
    const QString format = info.value(QStringLiteral("frmDate")).stringValue();
    int index = pbDateFormat->findText(format);
    if (index < 0 && format.size() > 1) {
        pbDateFormat->insertItem(0, format);
        index = 0;
        FormatLists lists(UserDefaults::standardUserDefaults());
        QStringList stored = lists.storedFormats(FormatKind::Date);
        if (!stored.contains(format)) {
            stored.prepend(format);
            lists.store(FormatKind::Date, stored);
        }
    }
    if (index >= 0)
        pbDateFormat->setCurrentIndex(index);
    txEgDate->setText(describeDate(QDateTime::currentDateTime(), pbDateFormat->currentText()));
    txPad->setText(formatC("%.1f", double(info.value(QStringLiteral("pad")).floatValue())));
    optEx1->setChecked(info.value(QStringLiteral("exFirst")).intValue() != 0);
    optExL->setChecked(info.value(QStringLiteral("exLast")).intValue() != 0);
    // A reload (the info panel renews on every change) keeps each cell's caret, so that a
    // variable is inserted where the user left it.
    for (int row = 0; row < 6; ++row)
        for (int column = 0; column < 3; ++column) {
            QTextEdit *editor = cell(row, column);
            const int caret = editor->textCursor().position();
            setCellText(*editor->document(), cellFromStored(info.value(cellKey(row, column))));
            QTextCursor restored = editor->textCursor();
            restored.setPosition(std::min(caret, editor->document()->characterCount() - 1));
            editor->setTextCursor(restored);
        }
    m_loading = false;
    updateRowHeights();
    const PrintInfo &print = document.printInfo();
    bool headerTooTall = false, footerTooTall = false;
    for (int row = 0; row < 6; ++row) {
        const float height = float(tblBorder->rowHeight(row));
        if (row < 3 && height > MinRowHeight && height > print.topMargin)
            headerTooTall = true;
        if (row >= 3 && height > MinRowHeight && height > print.bottomMargin)
            footerTooTall = true;
    }
    txMsg->setText(marginMessage(headerTooTall, footerTooTall));
}

void VekBorderController::updateRowHeights()
{
    for (int row = 0; row < 6; ++row) {
        float height = MinRowHeight;
        for (int column = 0; column < 3; ++column)
            height = std::max(height, float(cell(row, column)->document()->size().height()));
        tblBorder->setRowHeight(row, int(std::ceil(height)));
    }
}

void VekBorderController::cellEdited(int row, int column)
{
    VekDocument *document = currentDocument();
    if (m_loading || !document)
        return;
    QTextEdit *editor = cell(row, column);
    document->updateBorderInfoForKey(storedCell(cellText(*editor->document())), cellKey(row, column));
    updateRowHeights();
    const float height = float(editor->document()->size().height());
    const PrintInfo &print = document->printInfo();
    const bool header = row < 3;
    txMsg->setText(marginMessageAfterEdit(txMsg->text(), header, height > (header ? print.topMargin : print.bottomMargin)));
    if (bordersChanged)
        bordersChanged();
}

void VekBorderController::updateBorderInfo(QObject *sender)
{
    VekDocument *document = currentDocument();
    if (!document)
        return;
    if (sender == pbDateFormat) {
        document->updateBorderInfoForKey(PropertyList(pbDateFormat->currentText()), QStringLiteral("frmDate"));
        txEgDate->setText(describeDate(QDateTime::currentDateTime(), pbDateFormat->currentText()));
    } else if (sender == txPad) {
        document->updateBorderInfoForKey(PropertyList::fromFloat(floatValueOf(txPad->text())), QStringLiteral("pad"));
    } else if (sender == optEx1 || sender == optExL) {
        document->updateBorderInfoForKey(PropertyList::fromInt(optEx1->isChecked() ? 1 : 0), QStringLiteral("exFirst"));
        document->updateBorderInfoForKey(PropertyList::fromInt(optExL->isChecked() ? 1 : 0), QStringLiteral("exLast"));
    }
    if (bordersChanged)
        bordersChanged();
}

// The variable goes in at the caret with the attributes there (of the character before the
// caret, or of the first character at the very start); an empty cell takes it plainly.
void VekBorderController::insertVariable()
{
    QTextEdit *editor = m_lastCell;
    const int index = pbVars->currentIndex();
    if (!editor || !currentDocument() || index < 0 || index >= int(variables().size()))
        return;
    QTextCursor cursor = editor->textCursor();
    if (!editor->document()->isEmpty() && cursor.position() == 0) {
        QTextCursor first(editor->document());
        first.movePosition(QTextCursor::NextCharacter);
        cursor.setCharFormat(first.charFormat());
    }
    cursor.insertText(variables()[index]);
    editor->setTextCursor(cursor);
}

bool VekBorderController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QTextEdit *>(watched))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void VekBorderController::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    VekDocument *document = currentDocument();
    if (!document || document->addBorder() || !document->borderInfo().isDictionary())
        return;
    if (askToSwitchOn && askToSwitchOn())
        changePrintSettings(*document, localized("Print Headers and Footers"), [](PrintSettings &s) { s.addBorder = 1; });
}
