// The find panel's actions on an editor's text.
#include "model/text/text_finder.h"

#include "model/text/vek_text_view.h"
#include "platform/text/text_storage.h"

#include <vector>

TextFinder &TextFinder::shared()
{
    static TextFinder finder;
    return finder;
}

std::optional<TextRange> findInString(const QString &text, const QString &target, int from, bool backwards,
                                      bool ignoreCase)
{
    if (target.isEmpty() || text.size() < target.size())
        return std::nullopt;
    const Qt::CaseSensitivity cs = ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    qsizetype at = -1;
    if (backwards) {
        if (from > 0)
            at = text.lastIndexOf(target, from - 1, cs);
        if (at < 0)
            at = text.lastIndexOf(target, -1, cs);
    } else {
        at = text.indexOf(target, std::max(from, 0), cs);
        if (at < 0)
            at = text.indexOf(target, 0, cs);
    }
    if (at < 0)
        return std::nullopt;
    return TextRange{int(at), int(target.size())};
}

namespace {

bool selectionMatches(VekTextView &editor, const FindSettings &settings)
{
    const TextRange selection = editor.selectedRange();
    const QString selected = editor.textStorage()->string().mid(selection.location, selection.length);
    return !settings.findString.isEmpty()
           && selected.compare(settings.findString, settings.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

bool findNext(VekTextView &editor, const FindSettings &settings, bool backwards)
{
    const TextRange selection = editor.selectedRange();
    const auto match = findInString(editor.textStorage()->string(), settings.findString,
                                    backwards ? selection.location : selection.end(), backwards, settings.ignoreCase);
    if (match)
        editor.setSelectedRange(*match);
    return match.has_value();
}

bool replaceSelection(VekTextView &editor, const FindSettings &settings)
{
    if (!selectionMatches(editor, settings))
        return false;
    const TextRange selection = editor.selectedRange();
    editor.replaceSelectedCharacters(settings.replaceString);
    editor.setSelectedRange({selection.location, int(settings.replaceString.size())});
    return true;
}

bool replaceAll(VekTextView &editor, const FindSettings &settings)
{
    const QString text = editor.textStorage()->string();
    const Qt::CaseSensitivity cs = settings.ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    std::vector<int> matches;
    for (qsizetype at = text.indexOf(settings.findString, 0, cs); at >= 0 && !settings.findString.isEmpty();
         at = text.indexOf(settings.findString, at + settings.findString.size(), cs))
        matches.push_back(int(at));
    // From the back, so that the places still to replace keep their indexes.
    for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
        editor.setSelectedRange({*it, int(settings.findString.size())});
        editor.replaceSelectedCharacters(settings.replaceString);
    }
    return !matches.empty();
}

} // namespace

bool TextFinder::performAction(VekTextView &editor, int action)
{
    if (!editor.textStorage())
        return false;
    switch (action) {
    case FindPanelShow:
        if (showPanel)
            showPanel();
        return false;
    case FindPanelNext:
        return findNext(editor, settings, false);
    case FindPanelPrevious:
        return findNext(editor, settings, true);
    case FindPanelReplaceAll:
        return replaceAll(editor, settings);
    case FindPanelReplace:
        return replaceSelection(editor, settings);
    case FindPanelReplaceAndFind: {
        const bool replaced = replaceSelection(editor, settings);
        return findNext(editor, settings, false) || replaced;
    }
    case FindPanelSetFindString: {
        const TextRange selection = editor.selectedRange();
        if (selection.isEmpty())
            return false;
        settings.findString = editor.textStorage()->string().mid(selection.location, selection.length);
        return true;
    }
    default:
        return false;
    }
}
