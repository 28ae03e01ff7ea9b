// Merging a chosen file into the document's background.
#include "app/document/background_merge.h"

#include "document/vek_document.h"
#include "platform/foundation/localized_strings.h"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

bool mergeBackgroundFromFile(VekDocument &document, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return document.mergeBackgroundPDF(file.readAll());
}

void mergeBackgroundInteractively(QWidget *parent, VekDocument &document)
{
    const QString path = QFileDialog::getOpenFileName(
        parent, localizedString(QStringLiteral("Merge background image...")), QString(),
        QStringLiteral("PDF and images (*.pdf *.png *.jpg *.jpeg *.jp2 *.tif *.tiff *.bmp *.gif)"), nullptr,
        QFileDialog::DontUseNativeDialog);
    if (path.isEmpty() || mergeBackgroundFromFile(document, path))
        return;
    QMessageBox::warning(parent, localizedString(QStringLiteral("Sorry, failed to merge:")), path);
}
