// PdfRewriter::removeText: strips text from every content stream and drops the fonts.
#include "platform/pdf/pdf_rewriter.h"
#include "platform/pdf/pdf_rewriter_private.h"

#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <set>
#include <string>

namespace {

// Passes a content stream through, leaving out the operators that show text, select a
// font or set the text rendering mode, together with their operands. Everything else
// (paths, images, inline images, colours set inside text objects, marked content) stays,
// so the graphics after a text object look as before.
class TextStripper : public QPDFObjectHandle::TokenFilter {
public:
    void handleToken(const QPDFTokenizer::Token &token) override
    {
        if (token.getType() == QPDFTokenizer::tt_eof) {
            flush();
            return;
        }
        m_pending.push_back(token);
        if (token.getType() != QPDFTokenizer::tt_word)
            return;
        if (isTextOperator(token.getValue()))
            m_pending.clear();
        else
            flush();
    }

private:
    static bool isTextOperator(const std::string &op)
    {
        static const std::set<std::string> ops = {"Tj", "TJ", "'", "\"", "Tf", "Tr", "d0", "d1"};
        return ops.count(op) != 0;
    }
    void flush()
    {
        for (const QPDFTokenizer::Token &t : m_pending)
            writeToken(t);
        m_pending.clear();
    }
    std::vector<QPDFTokenizer::Token> m_pending;
};

bool isContentStreamObject(QPDFObjectHandle object)
{
    if (!object.isStream())
        return false;
    QPDFObjectHandle dict = object.getDict();
    return object.isFormXObject() || (dict.getKey("/PatternType").isInteger()
                                      && dict.getKey("/PatternType").getIntValue() == 1);
}

// The appearance streams of an annotation: /AP's /N, /R and /D, each a stream or a
// dictionary of streams by appearance state.
void collectAppearanceStreams(QPDFObjectHandle annotation, std::vector<QPDFObjectHandle> &out)
{
    if (!annotation.isDictionary())
        return;
    QPDFObjectHandle ap = annotation.getKey("/AP");
    if (!ap.isDictionary())
        return;
    for (const char *kind : {"/N", "/R", "/D"}) {
        QPDFObjectHandle entry = ap.getKey(kind);
        if (entry.isStream())
            out.push_back(entry);
        else if (entry.isDictionary())
            for (auto &[state, stream] : entry.ditems())
                if (stream.isStream())
                    out.push_back(stream);
    }
}

void removeFonts(QPDFObjectHandle object)
{
    QPDFObjectHandle dict = object.isStream() ? object.getDict() : object;
    if (!dict.isDictionary())
        return;
    QPDFObjectHandle resources = dict.getKey("/Resources");
    if (resources.isDictionary())
        resources.removeKey("/Font");
}

void stripText(QPDF &pdf)
{
    std::vector<QPDFObjectHandle> streams;
    for (QPDFObjectHandle &object : pdf.getAllObjects()) {
        removeFonts(object);
        if (isContentStreamObject(object))
            streams.push_back(object);
    }
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        removeFonts(page.getObjectHandle());
        QPDFObjectHandle contents = page.getObjectHandle().getKey("/Contents");
        if (contents.isStream() || contents.isArray())
            page.addContentTokenFilter(std::make_shared<TextStripper>());
        QPDFObjectHandle annots = page.getObjectHandle().getKey("/Annots");
        if (annots.isArray())
            for (QPDFObjectHandle &annotation : annots.aitems())
                collectAppearanceStreams(annotation, streams);
    }
    std::set<QPDFObjGen> filtered;
    for (QPDFObjectHandle &stream : streams) {
        removeFonts(stream);
        if (filtered.insert(stream.getObjGen()).second || !stream.isIndirect())
            stream.addTokenFilter(std::make_shared<TextStripper>());
    }
    pdf.getRoot().removeKey("/AcroForm");
}

} // namespace

bool PdfRewriter::removeText()
{
    if (!d->open)
        return false;
    try {
        stripText(d->pdf);
    } catch (const std::exception &e) {
        return fail(QString::fromStdString(e.what()));
    }
    return true;
}

