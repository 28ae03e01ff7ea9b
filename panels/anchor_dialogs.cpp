// The two small modal panels of anchors and links: naming an anchor, and giving the selected
// text a link to an anchor of the document or to any address.
#include "panels/document_dialogs.h"

#include "platform/foundation/localized_strings.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

QDialogButtonBox *okCancelButtons(QDialog &dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace

std::optional<QString> DocumentDialogs::runAnchorPanel(QWidget *window, const QString &name)
{
    QDialog dialog(window);
    dialog.setWindowTitle(localizedString(QStringLiteral("Anchor")));
    auto *field = new QLineEdit(name, &dialog);
    auto *layout = new QFormLayout(&dialog);
    layout->addRow(localizedString(QStringLiteral("Anchor name:")), field);
    layout->addRow(okCancelButtons(dialog));
    field->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

std::optional<QString> DocumentDialogs::runLinkPanel(QWidget *window, const QString &selectedText,
                                                     const QString &destination, const QStringList &anchorNames)
{
    QDialog dialog(window);
    dialog.setWindowTitle(localizedString(QStringLiteral("Link")));
    auto *text = new QLabel(selectedText, &dialog);
    text->setTextFormat(Qt::PlainText);
    auto *anchors = new QComboBox(&dialog);
    anchors->addItems(anchorNames);
    anchors->setEnabled(!anchorNames.isEmpty());
    anchors->setCurrentIndex(-1);
    auto *field = new QLineEdit(destination, &dialog);
    // Choosing an anchor makes it the destination.
    QObject::connect(anchors, &QComboBox::textActivated, field, &QLineEdit::setText);
    auto *layout = new QFormLayout(&dialog);
    layout->addRow(localizedString(QStringLiteral("Text:")), text);
    layout->addRow(localizedString(QStringLiteral("Anchors:")), anchors);
    layout->addRow(localizedString(QStringLiteral("Destination:")), field);
    layout->addRow(okCancelButtons(dialog));
    field->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}
