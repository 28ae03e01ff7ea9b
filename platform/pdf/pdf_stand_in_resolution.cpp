// PdfRewriter::resolveStandIns: turns the stand-ins that the graphics context painted into
// PDF output back into what they stand for: CMYK stand-in colours become DeviceCMYK
// colours, and rectangles filled with a PDF page marker become that page, as a form XObject.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include "platform/graphics/cmyk_stand_ins.h"
#include "platform/graphics/pdf_page_markers.h"
#include "platform/pdf/pdf_document.h"

#include <qpdf/Pl_Buffer.hh>
#include <qpdf/QPDFMatrix.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <QByteArray>

#include <cmath>
#include <functional>
#include <map>
#include <optional>

namespace {

// A placed page: the resource name of its form XObject and the box the form shows, in the
// coordinates the form's /Matrix gives.
struct PlacedForm {
    std::string name;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

using FormLookup = std::function<std::optional<PlacedForm>(const PdfPagePlacement &)>;

std::optional<double> numberOf(const QPDFTokenizer::Token &token)
{
    if (token.getType() != QPDFTokenizer::tt_integer && token.getType() != QPDFTokenizer::tt_real)
        return std::nullopt;
    bool ok = false;
    const double value = QByteArray::fromStdString(token.getValue()).toDouble(&ok);   // C locale
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

std::string number(double value)
{
    return QByteArray::number(std::abs(value) < 1e-9 ? 0.0 : value, 'g', 9).toStdString();
}

// Rewrites one content stream, operator by operator. Whitespace and comments travel with
// the operands they precede, so whatever is not rewritten passes through byte for byte.
class StandInResolver : public QPDFObjectHandle::TokenFilter {
public:
    StandInResolver(const CmykStandIns *standIns, const PdfPageMarkers *markers, FormLookup forms)
        : m_standIns(standIns), m_markers(markers), m_forms(std::move(forms))
    {
    }

    void handleToken(const QPDFTokenizer::Token &token) override
    {
        if (token.getType() == QPDFTokenizer::tt_eof) {
            abandonMarker();
            flush(m_pending);
            return;
        }
        m_pending.push_back(token);
        if (token.getType() == QPDFTokenizer::tt_word)
            handleOperator(token.getValue());
    }

private:
    std::vector<double> operands() const
    {
        std::vector<double> values;
        for (const QPDFTokenizer::Token &t : m_pending)
            if (auto v = numberOf(t))
                values.push_back(*v);
        return values;
    }
    // Operands that are all numbers: how many; -1 when another kind is among them.
    int numericOperandCount() const
    {
        int count = 0;
        for (size_t i = 0; i + 1 < m_pending.size(); ++i) {
            const auto type = m_pending[i].getType();
            if (type == QPDFTokenizer::tt_space || type == QPDFTokenizer::tt_comment)
                continue;
            if (!numberOf(m_pending[i]))
                return -1;
            ++count;
        }
        return count;
    }

    void handleOperator(const std::string &op)
    {
        if (m_marker) {
            collectMarker(op);
            return;
        }
        const bool fill = op == "scn" || op == "sc" || op == "rg";
        const bool stroke = op == "SCN" || op == "SC" || op == "RG";
        if ((fill || stroke) && numericOperandCount() == 3) {
            const std::vector<double> rgb = operands();
            if (fill && m_markers && startMarker(rgb))
                return;
            if (m_standIns && replaceStandIn(rgb, fill))
                return;
            // After a CMYK colour the space is no longer RGB: name it again.
            if (fill ? m_fillIsCmyk : m_strokeIsCmyk)
                write(fill ? "/DeviceRGB cs " : "/DeviceRGB CS ");
        }
        flush(m_pending);
    }

    bool replaceStandIn(const std::vector<double> &rgb, bool fill)
    {
        int c8[3];
        for (int i = 0; i < 3; ++i) {
            const double scaled = rgb[size_t(i)] * 255.0;
            c8[i] = int(std::lround(scaled));
            if (std::abs(scaled - c8[i]) > 0.002 || c8[i] < 0 || c8[i] > 255)
                return false;
        }
        const std::optional<CmykValue> cmyk = m_standIns->cmykFor(qRgb(c8[0], c8[1], c8[2]));
        if (!cmyk)
            return false;
        writeLeadingSpace();
        write(number(cmyk->cyan) + " " + number(cmyk->magenta) + " " + number(cmyk->yellow) + " "
              + number(cmyk->black) + (fill ? " k" : " K"));
        (fill ? m_fillIsCmyk : m_strokeIsCmyk) = true;
        m_pending.clear();
        return true;
    }

    bool startMarker(const std::vector<double> &rgb)
    {
        auto c16 = [](double v) { return quint16(std::clamp<long>(std::lround(v * 65535.0), 0, 65535)); };
        const PdfPagePlacement *placement = m_markers->placementFor(c16(rgb[0]), c16(rgb[1]), c16(rgb[2]));
        if (!placement)
            return false;
        m_marker = placement;
        m_held = std::move(m_pending);
        m_pending.clear();
        m_corners.clear();
        m_graphicsStates.clear();
        return true;
    }

    // Inside a marker: the rectangle's path and the extended graphics state (the opacity)
    // that Qt writes before filling it.
    void collectMarker(const std::string &op)
    {
        m_held.insert(m_held.end(), m_pending.begin(), m_pending.end());
        const std::vector<double> values = operands();
        if ((op == "m" || op == "l") && values.size() == 2) {
            m_corners.push_back({values[0], values[1]});
        } else if (op == "gs") {
            m_graphicsStates.insert(m_graphicsStates.end(), m_pending.begin(), m_pending.end());
        } else if (op == "f" || op == "f*") {
            m_pending.clear();
            placeMarkedPage();
            return;
        } else if (op != "h") {
            m_pending.clear();
            abandonMarker();
            return;
        }
        m_pending.clear();
    }

    void placeMarkedPage()
    {
        const std::optional<PlacedForm> form = m_forms(*m_marker);
        const double w = form ? form->x1 - form->x0 : 0, h = form ? form->y1 - form->y0 : 0;
        if (!form || m_corners.size() < 4 || !(std::abs(w) > 0) || !(std::abs(h) > 0)) {
            abandonMarker();
            return;
        }
        // The form's top left goes to the first corner, its top right to the second, its
        // bottom left to the fourth.
        const auto &p0 = m_corners[0], &p1 = m_corners[1], &p3 = m_corners[3];
        const double ax = p1.first - p0.first, ay = p1.second - p0.second;
        const double bx = p3.first - p0.first, by = p3.second - p0.second;
        const double a = ax / w, b = ay / w, c = -bx / h, d = -by / h;
        const double e = p0.first - a * form->x0 - c * form->y1;
        const double f = p0.second - b * form->x0 - d * form->y1;
        flush(m_graphicsStates);
        write("\nq " + number(a) + " " + number(b) + " " + number(c) + " " + number(d) + " " + number(e) + " "
              + number(f) + " cm " + form->name + " Do Q\n");
        m_marker = nullptr;
        m_held.clear();
        m_graphicsStates.clear();
    }

    // Something else than a marker's rectangle followed its colour: leave it all as it was.
    void abandonMarker()
    {
        if (!m_marker)
            return;
        m_marker = nullptr;
        flush(m_held);
        m_graphicsStates.clear();
    }

    void writeLeadingSpace()
    {
        for (const QPDFTokenizer::Token &t : m_pending) {
            if (t.getType() != QPDFTokenizer::tt_space && t.getType() != QPDFTokenizer::tt_comment)
                break;
            writeToken(t);
        }
    }

    void flush(std::vector<QPDFTokenizer::Token> &tokens)
    {
        for (const QPDFTokenizer::Token &t : tokens)
            writeToken(t);
        tokens.clear();
    }

    const CmykStandIns *m_standIns;
    const PdfPageMarkers *m_markers;
    FormLookup m_forms;
    std::vector<QPDFTokenizer::Token> m_pending;
    bool m_fillIsCmyk = false;
    bool m_strokeIsCmyk = false;
    const PdfPagePlacement *m_marker = nullptr;
    std::vector<QPDFTokenizer::Token> m_held;
    std::vector<QPDFTokenizer::Token> m_graphicsStates;
    std::vector<std::pair<double, double>> m_corners;
};

} // namespace

bool PdfRewriter::resolveStandIns(const CmykStandIns *standIns, const PdfPageMarkers *markers)
{
    if (!d->open)
        return fail(QStringLiteral("no document is open"));
    if ((!standIns || standIns->mapping().empty()) && (!markers || markers->isEmpty()))
        return true;
    try {
        // Each placed page becomes one form XObject, copied in once.
        std::map<std::pair<const PdfDocument *, int>, std::pair<QPDFObjectHandle, PlacedForm>> forms;
        std::map<const PdfDocument *, Private::Source *> sources;
        auto formFor = [&](const PdfPagePlacement &placement) -> std::optional<std::pair<QPDFObjectHandle, PlacedForm>> {
            const auto key = std::make_pair(placement.document.get(), placement.page);
            if (auto it = forms.find(key); it != forms.end())
                return it->second;
            Private::Source *&source = sources[placement.document.get()];
            if (!source) {
                auto opened = std::make_unique<Private::Source>();
                opened->data = placement.document->data();
                opened->pdf.setSuppressWarnings(true);
                const QByteArray &password = placement.document->password();
                opened->pdf.processMemoryFile("placed", opened->data.constData(), size_t(opened->data.size()),
                                              password.isEmpty() ? nullptr : password.constData());
                source = opened.get();
                d->sources.push_back(std::move(opened));
            }
            std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(source->pdf).getAllPages();
            if (placement.page < 0 || placement.page >= int(pages.size()))
                return std::nullopt;
            QPDFPageObjectHelper page = pages[size_t(placement.page)];
            QPDFObjectHandle form = page.getFormXObjectForPage(true);
            // The shown part of a page is its crop box, as when it is drawn on screen.
            const QPDFObjectHandle::Rectangle crop = page.getCropBox(false, true).getArrayAsRectangle();
            form.getDict().replaceKey("/BBox", QPDFObjectHandle::newFromRectangle(crop));
            QPDFMatrix matrix;
            if (QPDFObjectHandle m = form.getDict().getKey("/Matrix"); m.isMatrix())
                matrix = QPDFMatrix(m.getArrayAsMatrix());
            PlacedForm placed;
            placed.name = "/VekPdfPage" + std::to_string(forms.size() + 1);
            double xs[4], ys[4];
            matrix.transform(crop.llx, crop.lly, xs[0], ys[0]);
            matrix.transform(crop.urx, crop.lly, xs[1], ys[1]);
            matrix.transform(crop.urx, crop.ury, xs[2], ys[2]);
            matrix.transform(crop.llx, crop.ury, xs[3], ys[3]);
            placed.x0 = *std::min_element(xs, xs + 4);
            placed.x1 = *std::max_element(xs, xs + 4);
            placed.y0 = *std::min_element(ys, ys + 4);
            placed.y1 = *std::max_element(ys, ys + 4);
            auto entry = std::make_pair(d->pdf.copyForeignObject(form), placed);
            forms[key] = entry;
            return entry;
        };

        for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(d->pdf).getAllPages()) {
            std::vector<std::pair<std::string, QPDFObjectHandle>> used;
            StandInResolver resolver(standIns, markers, [&](const PdfPagePlacement &placement) -> std::optional<PlacedForm> {
                auto entry = formFor(placement);
                if (!entry)
                    return std::nullopt;
                used.emplace_back(entry->second.name, entry->first);
                return entry->second;
            });
            Pl_Buffer buffer("resolved contents");
            page.filterContents(&resolver, &buffer);
            std::unique_ptr<Buffer> data(buffer.getBuffer());
            page.getObjectHandle().replaceKey(
                "/Contents",
                d->pdf.newStream(std::string(reinterpret_cast<const char *>(data->getBuffer()), data->getSize())));
            if (used.empty())
                continue;
            QPDFObjectHandle resources = page.getAttribute("/Resources", true);
            if (!resources.isDictionary()) {
                resources = QPDFObjectHandle::newDictionary();
                page.getObjectHandle().replaceKey("/Resources", resources);
            }
            QPDFObjectHandle xobjects = resources.getKey("/XObject");
            if (!xobjects.isDictionary()) {
                xobjects = QPDFObjectHandle::newDictionary();
                resources.replaceKey("/XObject", xobjects);
            }
            for (auto &[name, form] : used)
                xobjects.replaceKey(name, form);
        }
        return true;
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}
