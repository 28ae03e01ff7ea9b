// Saving and exporting to a full disk: the file keeps its earlier contents and the message
// says that the disk is full and names the file, for both stored forms and for exports.
#include "export/export_dispatch.h"
#include "tests/export/export_fixture.h"
#include "tests/support/full_disk.h"

#include <gtest/gtest.h>

using namespace exportfixture;

TEST(FullDisk, SavesAndExportsSayTheDiskIsFullAndKeepTheFile)
{
    Document fixture;
    QTemporaryDir folder;
    const QStringList names = {QStringLiteral("plan.vek"), QStringLiteral("plan-text.vek"), QStringLiteral("plan.pdf"),
                               QStringLiteral("plan.png"), QStringLiteral("plan.eps")};
    const auto fileOf = [&](int i) { return folder.filePath(names[i]); };
    const auto answer = onFullDisk(
        folder.path(),
        [&] {
            for (int i = 0; i < names.size(); ++i) {
                QFile file(fileOf(i));
                if (file.open(QIODevice::WriteOnly))
                    file.write("earlier");
            }
        },
        [&] {
            QStringList errors(names.size());
            DocumentError documentError;
            fixture.doc.writeToFile(fileOf(0), false, &documentError);
            errors[0] = documentError.description;
            fixture.doc.writeToFile(fileOf(1), true, &documentError);
            errors[1] = documentError.description;
            for (int i = 2; i < names.size(); ++i) {
                ExportRequest request;
                request.path = fileOf(i);
                request.format = QFileInfo(names[i]).suffix() == QLatin1String("eps") ? QStringLiteral("eps-simple")
                                                                                       : QFileInfo(names[i]).suffix();
                request.displayName = names[i];
                saveArea(fixture.doc, request, &errors[i]);
            }
            QStringList report;
            for (int i = 0; i < names.size(); ++i) {
                QFile file(fileOf(i));
                report << (file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString()) << errors[i];
            }
            return report.join(QLatin1Char('\n')).toUtf8();
        });
    if (!answer)
        GTEST_SKIP() << "no private mount here";
    const QStringList report = QString::fromUtf8(*answer).split(QLatin1Char('\n'));
    ASSERT_EQ(report.size(), 2 * names.size());
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(names[i].toStdString());
        EXPECT_EQ(report[2 * i], QStringLiteral("earlier"));
        EXPECT_EQ(report[2 * i + 1], QStringLiteral("The disk is full: \"%1\" could not be saved. The file keeps its "
                                                    "earlier contents.")
                                         .arg(fileOf(i)));
    }
}
