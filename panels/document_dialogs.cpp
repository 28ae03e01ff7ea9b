// The built-in questions and panels, on Qt's dialogs.
#include "panels/document_dialogs.h"

#include "panels/page_layout_dialog.h"
#include "platform/foundation/localized_strings.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {

DocumentDialogs *installedDialogs = nullptr;

const QString &archiveFilter()
{
    static const QString filter = QStringLiteral("Vekanto Document (*.vek)");
    return filter;
}

const QString &textFilter()
{
    static const QString filter = QStringLiteral("Vekanto Document, readable text (*.vek)");
    return filter;
}

} // namespace

DocumentDialogs::CloseAnswer DocumentDialogs::askToSaveChanges(QWidget *window, const QString &displayName)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Vekanto"),
                    localizedString(QStringLiteral("Do you want to save the changes you made in the document \"%1\"?"))
                        .arg(displayName),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window);
    box.setInformativeText(localizedString(QStringLiteral("Your changes will be lost if you don't save them.")));
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save: return CloseAnswer::Save;
    case QMessageBox::Discard: return CloseAnswer::DontSave;
    default: return CloseAnswer::Cancel;
    }
}

bool DocumentDialogs::askToRevert(QWidget *window, const QString &displayName)
{
    return QMessageBox::question(window, QStringLiteral("Vekanto"),
                                 localizedString(QStringLiteral("Do you want to revert to the saved version of \"%1\"?"))
                                     .arg(displayName)) == QMessageBox::Yes;
}

std::optional<DocumentDialogs::SaveChoice> DocumentDialogs::runSavePanel(QWidget *window, const QString &suggestedPath,
                                                                          bool textForm)
{
    QFileDialog panel(window, localizedString(QStringLiteral("Save")));
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setOption(QFileDialog::DontUseNativeDialog);
    panel.setNameFilters({archiveFilter(), textFilter()});
    panel.selectNameFilter(textForm ? textFilter() : archiveFilter());
    panel.setDefaultSuffix(QStringLiteral("vek"));
    panel.selectFile(suggestedPath);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveChoice{panel.selectedFiles().first(), panel.selectedNameFilter() == textFilter()};
}

QStringList DocumentDialogs::runOpenPanel(QWidget *parent, const QString &title, const QStringList &nameFilters,
                                          bool multiple)
{
    QFileDialog panel(parent, title);
    panel.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    panel.setNameFilters(nameFilters);
    if (panel.exec() != QDialog::Accepted)
        return {};
    return panel.selectedFiles();
}

std::optional<QString> DocumentDialogs::askPassword(const QString &fileName)
{
    bool ok = false;
    const QString password = QInputDialog::getText(
        nullptr, QStringLiteral("Vekanto"),
        localizedString(QStringLiteral("The PDF file \"%1\" is protected. Password:")).arg(fileName),
        QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return password;
}

bool DocumentDialogs::askToReenterPassword()
{
    QMessageBox box(QMessageBox::Warning, localizedString(QStringLiteral("Invalid Password")),
                    localizedString(QStringLiteral("Do you want to reenter?")));
    QPushButton *reenter = box.addButton(localizedString(QStringLiteral("Reenter")), QMessageBox::AcceptRole);
    box.addButton(localizedString(QStringLiteral("Cancel")), QMessageBox::RejectRole);
    box.setDefaultButton(reenter);
    box.exec();
    return box.clickedButton() == reenter;
}

std::optional<PrintInfo> DocumentDialogs::runPageLayout(QWidget *window, const PrintInfo &info)
{
    PageLayoutDialog dialog(info, window);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.printInfo();
}

void DocumentDialogs::showAlert(QWidget *parent, const QString &title, const QString &message)
{
    QMessageBox::warning(parent, title, message);
}

std::optional<QString> DocumentDialogs::chooseFolder(QWidget *parent, const QString &title, const QString &selectButton)
{
    QFileDialog panel(parent, title);
    panel.setFileMode(QFileDialog::Directory);
    panel.setOption(QFileDialog::ShowDirsOnly);
    panel.setLabelText(QFileDialog::Accept, selectButton);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return panel.selectedFiles().front();
}

int DocumentDialogs::askQuestion(QWidget *parent, const QString &title, const QString &message,
                                 const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, title, message, QMessageBox::NoButton, parent);
    std::vector<QAbstractButton *> added;
    for (qsizetype i = 0; i < buttons.size(); ++i)
        added.push_back(box.addButton(buttons[i], i == 0                      ? QMessageBox::AcceptRole
                                                  : i + 1 == buttons.size() ? QMessageBox::RejectRole
                                                                            : QMessageBox::DestructiveRole));
    if (!added.empty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(added.front()));
        box.setEscapeButton(added.back());
    }
    box.exec();
    const auto pressed = std::find(added.begin(), added.end(), box.clickedButton());
    return pressed == added.end() ? int(buttons.size()) - 1 : int(pressed - added.begin());
}

DocumentDialogs &documentDialogs()
{
    static DocumentDialogs builtIn;
    return installedDialogs ? *installedDialogs : builtIn;
}

void setDocumentDialogs(DocumentDialogs *dialogs)
{
    installedDialogs = dialogs;
}
