// Linked text boxes: the text of a chain flows through its boxes in order, each box holding
// what fits into it and the last one the rest. A change of a box's room or text flows the
// chain again from the box before it (which may take text back) until the boxes behind
// begin as they did, so that the chain always reads as if flowed from its first box.
//
// Every box whose text a flow replaces registers the replacement with the undo manager, in
// the step of the change that caused the flow; undo and redo replay those replacements and
// therefore never flow themselves.
#include "model/services/document_services.h"
#include "model/text/chain_text.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "platform/foundation/undo_manager.h"
#include "platform/text/hyphenator.h"
#include "toolkit/text_extensions.h"

namespace {

// The shortest word that may be hyphenated at a box boundary.
constexpr int MinHyphenatedWord = 5;
// The first slice of the chain's text laid out to find what fits into a box.
constexpr int FirstSlice = 4096;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'\'' || c == QChar(0x2019);
}

// The text without the hyphen an earlier flow added at its end; a "-" the user typed stays.
int lengthWithoutAddedHyphen(const AttributedString &text)
{
    const int last = text.length() - 1;
    return last >= 0 && text.string().back() == u'-' && text.attributesAt(last).insertedHyphen ? last : text.length();
}

struct BoxEnd {
    int end = 0;           // where the box's part of the chain's text ends
    bool hyphen = false;   // the box shows a hyphen after it
};

// Where a box into which `fit` characters from `start` fit ends. A word cut in two there
// moves on whole, or is hyphenated when it is long enough and has a break point; a word
// that begins the box and does not fit keeps the part that fits, so that the box shows
// something and the chain moves on.
BoxEnd boxEnd(const ChainText &text, int start, int fit)
{
    const int cut = start + fit;
    if (fit <= 0 || cut >= text.length() || !isWordCharacter(text.at(cut - 1)) || !isWordCharacter(text.at(cut)))
        return {cut};
    int wordStart = cut;
    while (wordStart > start && isWordCharacter(text.at(wordStart - 1)))
        --wordStart;
    const int kept = cut - wordStart;
    if (kept >= MinHyphenatedWord) {
        const int wordEnd = text.find(cut, text.length(), [](QChar c) { return !isWordCharacter(c); });
        int best = -1;
        for (int p : hyphenationPoints(text.slice(wordStart, wordEnd).string())) {
            if (p > 0 && p < kept - 2)
                best = p;
        }
        if (best > 0)
            return {wordStart + best, true};
    }
    return {wordStart > start ? wordStart : cut};
}

AttributedString withAddedHyphen(const AttributedString &text)
{
    AttributedString hyphenated = addHyphen(text);
    hyphenated.modifyAttributes({hyphenated.length() - 1, 1}, [](TextAttributes &a) { a.insertedHyphen = true; });
    return hyphenated;
}

} // namespace

std::shared_ptr<VekObjText> VekObjText::connectedTextObject() const
{
    if (!_grpWithNxt || !_document)
        return nullptr;
    const auto &objects = _document->objects();
    auto it = std::find_if(objects.begin(), objects.end(), [&](const auto &o) { return o.get() == this; });
    if (it == objects.end())
        return nullptr;
    for (++it; it != objects.end(); ++it) {
        if (auto text = std::dynamic_pointer_cast<VekObjText>(*it))
            return text;
    }
    return nullptr;
}

std::shared_ptr<VekObjText> VekObjText::preceedingConnectedTextObject() const
{
    if (!_document)
        return nullptr;
    const auto &objects = _document->objects();
    auto it = std::find_if(objects.begin(), objects.end(), [&](const auto &o) { return o.get() == this; });
    while (it != objects.begin() && it != objects.end()) {
        --it;
        if (auto text = std::dynamic_pointer_cast<VekObjText>(*it))
            return text->groupWithNext() ? text : nullptr;
    }
    return nullptr;
}

std::vector<std::shared_ptr<VekObjText>> VekObjText::chainToFlow(bool fromPredecessor) const
{
    std::vector<std::shared_ptr<VekObjText>> chain;
    if (!_document)
        return chain;
    const auto &objects = _document->objects();
    const auto self = std::find_if(objects.begin(), objects.end(), [&](const auto &o) { return o.get() == this; });
    if (self == objects.end())
        return chain;
    auto from = self;
    for (auto it = self; fromPredecessor && it != objects.begin();) {
        --it;
        if (auto text = std::dynamic_pointer_cast<VekObjText>(*it)) {
            if (text->groupWithNext())
                from = it;
            break;
        }
    }
    for (auto it = from; it != objects.end(); ++it) {
        auto text = std::dynamic_pointer_cast<VekObjText>(*it);
        if (!text)
            continue;
        chain.push_back(text);
        if (!text->groupWithNext())
            break;
    }
    return chain;
}

int VekObjText::charactersThatFit(const ChainText &text, int start, int expected)
{
    // A box holds a small part of a long chain's text, so it is given growing slices until it
    // fills before a slice ends. The lines of a paragraph never depend on the paragraphs
    // after it, so a count within whole paragraphs is the one the whole text gives. A slice
    // that ends inside a paragraph (at a space) may break its last line differently, so its
    // count holds only when at least half of the slice is left over.
    for (int size = std::max(FirstSlice, 2 * expected + 1024);; size *= 2) {
        const int want = start + size;
        int end = text.length();
        bool wholeParagraphs = true;
        if (want < end) {
            const int separator = text.find(want, want + size, isParagraphSeparator);
            if (separator < text.length() && separator < want + size) {
                end = separator + 1;
                if (text.at(separator) == u'\r' && end < text.length() && text.at(end) == u'\n')
                    ++end;
            } else {
                end = text.find(want, text.length(), [](QChar c) { return c.isSpace(); });
                wholeParagraphs = end == text.length();
            }
        }
        int fit = 0;
        {
            TextBoxLayout layout(*this, text.slice(start, end), _bounds.size);
            fit = layout.charactersThatFit();
        }
        const int laid = end - start;
        if (end == text.length() || (wholeParagraphs && fit < laid) || fit <= laid / 2)
            return fit;
        size = std::max(size, laid);
    }
}

void VekObjText::takeFlowedText(const AttributedString &text)
{
    if (text == _contents.text())
        return;
    const std::optional<TextRange> selection = _editor ? std::optional(_editor->selectedRange()) : std::nullopt;
    setContents(text);
    if (selection) {
        const int start = std::min(selection->location, text.length());
        _editor->setSelectedRange({start, std::min(selection->length, text.length() - start)});
    }
}

void VekObjText::reflow()
{
    if (_isLoadingPropertyList)
        return;
    if (UndoManager *undo = undoManager(); undo && (undo->isUndoing() || undo->isRedoing()))
        return;
    // While this box is edited the box before leaves its text alone, so that the text under
    // the insertion point stays in place; it takes text back when editing ends.
    const auto chain = chainToFlow(!_editor);
    if (chain.size() < 2)
        return;
    std::vector<ChainText::Piece> pieces;
    pieces.reserve(chain.size());
    for (const auto &box : chain)
        pieces.push_back({box->contents().text(), lengthWithoutAddedHyphen(box->contents().text())});
    const ChainText text(std::move(pieces));
    // The boxes from this one on may change where they end; the one before only takes back.
    const size_t changed = chain.front().get() == this ? 0 : 1;
    int start = 0;
    int previousFit = 0;
    for (size_t i = 0; i < chain.size(); ++i) {
        VekObjText &box = *chain[i];
        if (i + 1 == chain.size()) {
            box.takeFlowedText(text.slice(start, text.length()));
            break;
        }
        const BoxEnd end = boxEnd(text, start, box.charactersThatFit(text, start, previousFit));
        const AttributedString kept = text.slice(start, end.end);
        box.takeFlowedText(end.hyphen ? withAddedHyphen(kept) : kept);
        previousFit = end.end - start;
        start = end.end;
        // The boxes behind begin as they did, with the room they had: they stay as they are.
        if (i >= changed && start == text.pieceStart(int(i) + 1))
            break;
    }
}

void VekObjText::controlConnection()
{
    reflow();
}
