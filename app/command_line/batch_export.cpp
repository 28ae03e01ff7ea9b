// The command line's conversions.
#include "app/command_line/batch_export.h"

#include "app/document/vek_doc_controller.h"
#include "app/document/vek_document_window.h"
#include "canvas/page_geometry.h"
#include "document/vek_document.h"
#include "export/export_dispatch.h"
#include "export/text_export.h"
#include "model/vek_object.h"
#include "panels/document_dialogs.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include <optional>
#include <utility>

namespace {

// No one is there to answer: questions get their cancelling answer, alerts go to standard
// error as warnings, and a document with changes closes without saving.
class BatchDialogs : public DocumentDialogs {
public:
    explicit BatchDialogs(QTextStream &errors) : m_errors(errors) {}

    CloseAnswer askToSaveChanges(QWidget *, const QString &) override { return CloseAnswer::DontSave; }
    bool askToRevert(QWidget *, const QString &) override { return false; }
    std::optional<SaveChoice> runSavePanel(QWidget *, const QString &, bool) override { return std::nullopt; }
    QStringList runOpenPanel(QWidget *, const QString &, const QStringList &, bool) override { return {}; }
    std::optional<QString> chooseFolder(QWidget *, const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> askPassword(const QString &) override
    {
        m_askedPassword = true;
        return std::nullopt;
    }
    bool askToReenterPassword() override { return false; }
    std::optional<PrintInfo> runPageLayout(QWidget *, const PrintInfo &) override { return std::nullopt; }
    std::optional<QString> runAnchorPanel(QWidget *, const QString &) override { return std::nullopt; }
    std::optional<QString> runLinkPanel(QWidget *, const QString &, const QString &, const QStringList &) override
    {
        return std::nullopt;
    }
    void showAlert(QWidget *, const QString &title, const QString &message) override
    {
        m_errors << "vekanto: warning: " << title;
        if (!message.isEmpty())
            m_errors << ' ' << QString(message).replace(QLatin1Char('\n'), QLatin1String("; "));
        m_errors << '\n';
    }
    int askQuestion(QWidget *, const QString &, const QString &, const QStringList &buttons) override
    {
        return int(buttons.size()) - 1;
    }

    bool takeAskedPassword() { return std::exchange(m_askedPassword, false); }

private:
    QTextStream &m_errors;
    bool m_askedPassword = false;
};

// The writer a file name asks for: an export format, or "rtf" and "txt" for the text. Of the
// export formats every one but the vector ones is a bitmap (icon files are not offered).
QString formatOfOutput(const QString &path)
{
    const QString format = formatForPath(path);
    if (format == QLatin1String("rtf") || format == QLatin1String("txt"))
        return format;
    if (QFileInfo(path).suffix().isEmpty() || !exportFormatNames().contains(format)
        || format == QLatin1String("eps-simple") || format == QLatin1String("icns"))
        return QString();
    return format;
}

// "out.png" for page 3 of several: "out-3.png", in the same folder.
QString numberedPath(const QString &path, int page)
{
    const QFileInfo info(path);
    const QString name = info.completeBaseName() + QLatin1Char('-') + QString::number(page) + QLatin1Char('.')
                       + info.suffix();
    return path.left(path.size() - info.fileName().size()) + name;
}

class Conversion {
public:
    Conversion(const CommandLineOptions &options, const ExportJob &job, QTextStream &errors)
        : m_options(options), m_job(job), m_errors(errors)
    {
    }

    bool fail(const QString &why)
    {
        m_errors << "vekanto: " << m_job.input << ": " << why << '\n';
        return false;
    }

    bool run(VekDocument &document)
    {
        const QString format = formatOfOutput(m_job.output);
        if (format == QLatin1String("rtf") || format == QLatin1String("txt"))
            return writeText(document, format == QLatin1String("rtf"));

        std::vector<int> pages;
        if (!m_options.pages.isEmpty()) {
            const auto chosen = pagesFromRangeList(m_options.pages, document.numberOfPages());
            if (!chosen)
                return fail(QStringLiteral("--pages %1 names no page of its %2")
                                .arg(m_options.pages)
                                .arg(document.numberOfPages()));
            pages = *chosen;
        }
        if (m_options.drawingArea)
            return writeDrawing(document, format, pages);
        if (pages.empty())
            return write(document, request(document, format, m_job.output, Rect()));
        if (!isVectorExportFormat(format)) {
            // One image a page, numbered when there are several.
            for (int page : pages) {
                const QString path = pages.size() == 1 ? m_job.output : numberedPath(m_job.output, page);
                if (!write(document, request(document, format, path, pageRect(document, page))))
                    return false;
            }
            return true;
        }
        return writePagesOfDocument(document, format, pages);
    }

private:
    // The request for the area (empty: the whole document), with the pixels the options ask for.
    ExportRequest request(VekDocument &document, const QString &format, const QString &path, const Rect &area) const
    {
        ExportRequest request;
        request.path = path;
        request.format = format;
        request.area = area;
        if (!isVectorExportFormat(format)) {
            const float width = area.isEmpty() ? pageRect(document, 1).size.width : area.size.width;
            if (m_options.width > 0 && width > 0)
                request.pixelsPerPoint = m_options.width / width;
            else if (m_options.dpi > 0)
                request.pixelsPerPoint = m_options.dpi / 72.0;
        }
        return request;
    }

    bool write(VekDocument &document, const ExportRequest &request)
    {
        QString error, warning;
        if (!saveArea(document, request, &error, &warning))
            return fail(QStringLiteral("%1 could not be written: %2")
                            .arg(request.path, error.isEmpty() ? QStringLiteral("unknown reason") : error));
        if (!warning.isEmpty())
            m_errors << "vekanto: warning: " << request.path << ": " << warning << '\n';
        return true;
    }

    bool writeText(VekDocument &document, bool rtf)
    {
        QString error;
        switch (saveTextAs(document, m_job.output, rtf, false, "UTF-8", &error)) {
        case TextExportResult::Saved:
            return true;
        case TextExportResult::NoText:
            return fail(QStringLiteral("it holds no text to write"));
        case TextExportResult::Failed:
            break;
        }
        return fail(QStringLiteral("%1 could not be written: %2")
                        .arg(m_job.output, error.isEmpty() ? QStringLiteral("unknown reason") : error));
    }

    // Only what the objects (on the chosen pages) cover.
    bool writeDrawing(VekDocument &document, const QString &format, const std::vector<int> &pages)
    {
        std::vector<std::shared_ptr<VekObject>> objects;
        if (pages.empty()) {
            objects = document.objects();
        } else {
            for (int page : pages)
                for (const auto &object : document.objectsOnPage(page, pageRect(document, page)))
                    objects.push_back(object);
        }
        const Rect area = selectionArea(objects, format);
        if (objects.empty() || area.isEmpty())
            return fail(QStringLiteral("it has no drawing to write"));
        return write(document, request(document, format, m_job.output, area));
    }

    // The chosen pages in one file: a document of those pages alone, written whole.
    bool writePagesOfDocument(VekDocument &document, const QString &format, const std::vector<int> &pages)
    {
        const QByteArray data = document.vekDocumentDataForObjects(document.objects(), pages, false, false);
        VekDocument chosen;
        DocumentError error;
        if (data.isEmpty() || !chosen.readFromData(data, &error))
            return fail(QStringLiteral("the pages could not be taken from it"));
        return write(chosen, request(chosen, format, m_job.output, Rect()));
    }

    const CommandLineOptions &m_options;
    const ExportJob &m_job;
    QTextStream &m_errors;
};

void closeWindows(VekDocController &documents)
{
    for (VekDocumentWindow *window : documents.documentWindows())
        window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

std::optional<std::vector<int>> pagesFromRangeList(const QString &list, int pageCount)
{
    std::vector<int> pages;
    for (const QString &part : list.split(QLatin1Char(','))) {
        const QStringList ends = part.trimmed().split(QLatin1Char('-'));
        bool firstOk = false, lastOk = false;
        const int first = ends.first().toInt(&firstOk);
        const int last = ends.size() == 2 ? ends.last().toInt(&lastOk) : first;
        if (!firstOk || (ends.size() == 2 && !lastOk) || ends.size() > 2 || first < 1 || last > pageCount
            || last < first)
            return std::nullopt;
        for (int page = first; page <= last; ++page)
            pages.push_back(page);
    }
    return pages;
}

int runBatchExport(VekDocController &documents, const CommandLineOptions &options, QTextStream &errors)
{
    BatchDialogs dialogs(errors);
    setDocumentDialogs(&dialogs);
    int failures = 0;
    for (const ExportJob &job : options.jobs) {
        Conversion conversion(options, job, errors);
        if (formatOfOutput(job.output).isEmpty()) {
            conversion.fail(QStringLiteral("%1: files of this kind cannot be written (pdf, png, jpg, jp2, tiff, eps, "
                                           "svg, rtf or txt)")
                                .arg(job.output));
            ++failures;
            continue;
        }
        QString reason;
        if (!documents.openFile(job.input, &reason)) {
            if (dialogs.takeAskedPassword())
                reason = QStringLiteral("It is locked with a password.");
            conversion.fail(QStringLiteral("it could not be opened: %1")
                                .arg(reason.isEmpty() ? QStringLiteral("unknown reason") : reason));
            ++failures;
            closeWindows(documents);
            continue;
        }
        VekDocumentWindow *window = documents.currentVekDocument();
        if (!window || !conversion.run(window->document()))
            ++failures;
        closeWindows(documents);
    }
    setDocumentDialogs(nullptr);
    errors.flush();
    return failures == 0 ? 0 : 1;
}
