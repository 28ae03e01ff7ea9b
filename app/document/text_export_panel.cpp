// The text export panel and command.
#include "app/document/text_export_panel.h"

#include "app/document/export_preferences.h"
#include "document/vek_document.h"
#include "export/text_export.h"
#include "platform/foundation/localized_strings.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The plain text encodings offered, as shown and as iconv names them.
const std::vector<std::pair<const char *, const char *>> &encodings()
{
    static const std::vector<std::pair<const char *, const char *>> list = {
        {"Unicode (UTF-8)", "UTF-8"},
        {"Unicode (UTF-16)", "UTF-16"},
        {"Western (ISO Latin 1)", "ISO-8859-1"},
        {"Western (Windows Latin 1)", "WINDOWS-1252"},
        {"Western (Mac OS Roman)", "MACINTOSH"},
        {"Japanese (ISO 2022-JP)", "ISO-2022-JP"},
        {"Japanese (Shift JIS)", "SHIFT_JIS"},
    };
    return list;
}

} // namespace

TextExportPanel::TextExportPanel(QWidget *parent, const QString &displayName, bool hasBackgroundText)
    : AccessorySavePanel(parent, localizedString(QStringLiteral("Save Text")))
{
    // Replacing is confirmed after the form's extension has been added to the name.
    setOption(QFileDialog::DontConfirmOverwrite);
    setNameFilter(QStringLiteral("*.rtf *.txt"));

    QWidget *accessory = this->accessory();
    QFormLayout *form = accessoryForm();
    auto *forms = new QWidget(accessory);
    auto *row = new QHBoxLayout(forms);
    row->setContentsMargins(0, 0, 0, 0);
    m_plain = new QRadioButton(localizedString(QStringLiteral("Plain text")), forms);
    m_plain->setObjectName(QStringLiteral("plainText"));
    m_rtf = new QRadioButton(QStringLiteral("RTF"), forms);
    m_rtf->setObjectName(QStringLiteral("rtfText"));
    m_rtf->setChecked(true);
    auto *group = new QButtonGroup(forms);
    group->addButton(m_plain);
    group->addButton(m_rtf);
    row->addWidget(m_plain);
    row->addWidget(m_rtf);
    form->addRow(localizedString(QStringLiteral("Format:")), forms);
    m_encoding = new QComboBox(accessory);
    m_encoding->setObjectName(QStringLiteral("textEncoding"));
    for (const auto &[title, name] : encodings())
        m_encoding->addItem(localizedString(QString::fromLatin1(title)), QByteArray(name));
    form->addRow(localizedString(QStringLiteral("Encoding:")), m_encoding);
    m_backgroundText = new QCheckBox(localizedString(QStringLiteral("Add the text of the background PDF")), accessory);
    m_backgroundText->setObjectName(QStringLiteral("savePDFtxt"));
    m_backgroundText->setEnabled(hasBackgroundText);
    form->addRow(m_backgroundText);
    addShowInFileManagerRow();

    selectFile(QFileInfo(displayName).completeBaseName() + QStringLiteral(".rtf"));
    connect(m_plain, &QRadioButton::toggled, this, &TextExportPanel::formChanged);
    formChanged();
}

bool TextExportPanel::rtf() const
{
    return !m_plain->isChecked();
}

QByteArray TextExportPanel::encoding() const
{
    return m_encoding->currentData().toByteArray();
}

bool TextExportPanel::addBackgroundPdfText() const
{
    return m_backgroundText->isEnabled() && m_backgroundText->isChecked();
}

QString TextExportPanel::extension() const
{
    return rtf() ? QStringLiteral("rtf") : QStringLiteral("txt");
}

QString TextExportPanel::chosenPath() const
{
    return chosenPathWithExtension(extension());
}

void TextExportPanel::formChanged()
{
    m_encoding->setEnabled(!rtf());
    // The name field keeps its name and takes the form's extension.
    auto *nameField = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!nameField)
        return;
    const QFileInfo name(nameField->text());
    if (name.suffix() != extension())
        nameField->setText(name.completeBaseName() + QLatin1Char('.') + extension());
}

bool exportDocumentText(QWidget *parent, VekDocument &document, const QString &displayName)
{
    const bool hasBackgroundText = backgroundPdfText(document).has_value();
    // A document without objects may still hold the text of its background PDF.
    if (document.objects().empty() && !hasBackgroundText) {
        QMessageBox::information(parent, localizedString(QStringLiteral("No Objects to Save")), QString());
        return false;
    }
    TextExportPanel panel(parent, displayName, hasBackgroundText);
    if (panel.exec() != QDialog::Accepted)
        return false;
    const QString path = panel.chosenPath();
    if (QFileInfo::exists(path)) {
        QMessageBox ask(QMessageBox::Warning, localizedString(QStringLiteral("%1 already exists.")).arg(path),
                        localizedString(QStringLiteral("Do you want to replace it?")), QMessageBox::NoButton, parent);
        const QAbstractButton *replace = ask.addButton(localizedString(QStringLiteral("Replace")), QMessageBox::AcceptRole);
        ask.addButton(localizedString(QStringLiteral("Cancel")), QMessageBox::RejectRole);
        ask.exec();
        if (ask.clickedButton() != replace)
            return false;
    }
    QString error;
    switch (saveTextAs(document, path, panel.rtf(), panel.addBackgroundPdfText(), panel.encoding(), &error)) {
    case TextExportResult::NoText:
        QMessageBox::information(parent, localizedString(QStringLiteral("No text to save.")), QString());
        return false;
    case TextExportResult::Failed:
        QMessageBox::warning(parent, localizedString(QStringLiteral("Sorry, failed to save.")), error);
        return false;
    case TextExportResult::Saved:
        break;
    }
    setShowInFinderPreference(panel.showInFileManager());
    if (panel.showInFileManager())
        revealInFileManager(path);
    return true;
}
