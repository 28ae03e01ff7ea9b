// Linked text boxes: text that does not fit flows on into the next box of the chain, and
// room to spare pulls text back from the boxes behind.
#include "model/services/document_services.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "platform/text/hyphenator.h"
#include "toolkit/text_extensions.h"

namespace {

// The shortest word that may be hyphenated at a box boundary.
constexpr int MinHyphenatedWord = 5;

bool isWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'\'' || c == QChar(0x2019);
}

// Moves a word cut in two at the boundary between kept and rest: whole into rest, or
// hyphenated when it is long enough and has a break point. A word is cut exactly when
// both sides of the boundary are word characters, which is when the two parts hold one
// word more than the whole.
void checkBoundaryWord(AttributedString &kept, AttributedString &rest, const AttributedString &whole)
{
    const QString &k = kept.string();
    const QString &r = rest.string();
    if (k.isEmpty() || r.isEmpty() || !isWordCharacter(k.back()) || !isWordCharacter(r.front()))
        return;
    int start = k.size();
    while (start > 0 && isWordCharacter(k[start - 1]))
        --start;
    const int n = k.size() - start;
    int wordEnd = 0;
    while (wordEnd < r.size() && isWordCharacter(r[wordEnd]))
        ++wordEnd;
    if (n >= MinHyphenatedWord) {
        const QString word = k.mid(start) + r.left(wordEnd);
        const QList<int> points = hyphenationPoints(word);
        int best = -1;
        for (int p : points) {
            if (p < n - 2 && p > 0)
                best = p;
        }
        if (best > 0) {
            // The part behind the break moves; the kept part ends with a hyphen.
            const int cut = start + best;
            AttributedString moved = kept.substring({cut, kept.length() - cut});
            moved.append(rest);
            rest = moved;
            kept = addHyphen(kept.substring({0, cut}));
            kept.modifyAttributes({kept.length() - 1, 1}, [](TextAttributes &a) { a.insertedHyphen = true; });
            return;
        }
    }
    if (start == 0) {
        kept = AttributedString();
        rest = whole;
        return;
    }
    AttributedString moved = kept.substring({start, n});
    moved.append(rest);
    rest = moved;
    kept = kept.substring({0, start});
}

// Takes away the hyphen an earlier flow appended; a "-" the user typed stays.
void dropInsertedHyphen(AttributedString &text)
{
    const int last = text.length() - 1;
    if (last >= 0 && text.string().back() == u'-' && text.attributesAt(last).insertedHyphen)
        text.deleteCharacters({last, 1});
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

int VekObjText::charactersThatFit(const AttributedString &text)
{
    // A box holds a small part of a long chain's text, so the layout is given growing
    // prefixes that end with a paragraph until the box fills before a prefix ends. The
    // lines of a paragraph never depend on the paragraphs after it, so the count is the
    // one the whole text gives, without laying out (and shaping) the rest of the chain.
    for (int prefix = 8192;; prefix *= 2) {
        const int end = prefix < text.length() ? text.paragraphRange({prefix, 0}).end() : text.length();
        int fit = 0;
        {
            TextBoxLayout layout(*this, end < text.length() ? text.substring({0, end}) : text, _bounds.size);
            fit = layout.charactersThatFit();
        }
        if (fit < end || end == text.length())
            return fit;
        prefix = std::max(prefix, end);
    }
}

std::optional<AttributedString> VekObjText::adjustContentsWithNextIfAny(const AttributedString &original)
{
    const auto next = connectedTextObject();
    if (!next)
        return std::nullopt;
    AttributedString text = original;
    int fit = charactersThatFit(text);
    if (text.length() > fit) {
        dropInsertedHyphen(text);
        fit = std::min(fit, text.length());
        AttributedString kept = text.substring({0, fit});
        AttributedString rest = text.substring({fit, text.length() - fit});
        if (fit > 1)
            checkBoundaryWord(kept, rest, text);
        rest.append(next->contents().text());
        next->setContents(rest);
        return kept;
    }

    // Room to spare: pull text back from the boxes behind.
    AttributedString following;
    const auto &objects = _document->objects();
    auto it = std::find_if(objects.begin(), objects.end(), [&](const auto &o) { return o.get() == this; });
    for (++it; it != objects.end(); ++it) {
        auto box = std::dynamic_pointer_cast<VekObjText>(*it);
        if (!box)
            continue;
        if (box->contents().length() > 0)
            following.append(box->contents().text());
        if (!box->groupWithNext())
            break;
    }
    if (following.isEmpty())
        return std::nullopt;
    dropInsertedHyphen(text);
    AttributedString whole = text;
    whole.append(following);
    fit = charactersThatFit(whole);
    if (fit <= text.length())
        return std::nullopt;
    if (whole.length() - fit > 0) {
        AttributedString kept = whole.substring({0, fit});
        AttributedString rest = whole.substring({fit, whole.length() - fit});
        checkBoundaryWord(kept, rest, whole);
        // The next box receives what did not fit here; the boxes behind it were read into
        // it, so they are emptied to keep every character exactly once in the chain.
        for (auto box = next->connectedTextObject(); box; box = box->connectedTextObject())
            if (box->contents().length() > 0)
                box->setContents(AttributedString());
        next->setContents(rest);
        return kept;
    }
    // Everything fits here: the boxes behind give up their text.
    for (auto box = next; box; box = box->connectedTextObject())
        if (box->contents().length() > 0)
            box->setContents(AttributedString());
    return whole;
}

void VekObjText::reflow(bool notify)
{
    if (_contents.length() == 0)
        return;
    if (auto adjusted = adjustContentsWithNextIfAny(_contents.text())) {
        replaceContentsSilently(*adjusted);
        if (notify)
            didChange();
    }
}

void VekObjText::controlConnection()
{
    reflow(true);
}
