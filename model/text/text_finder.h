// TextFinder: the find panel's state and its actions on an editor's text.
//
// There is one find panel for the application, so what to find, what to replace it with
// and how to compare are shared by every editor. The actions carry the platform's find
// panel codes, which menu items and the panel's buttons send as their tags. Searching
// wraps around within the one text; moving on to other text boxes is the document's job
// (continueFindAfter), which the editor asks for when an action found nothing new.
#pragma once

#include "platform/text/text_range.h"

#include <QString>

#include <functional>
#include <optional>

class VekTextView;

enum FindPanelAction : int {
    FindPanelShow = 1,
    FindPanelNext = 2,
    FindPanelPrevious = 3,
    FindPanelReplaceAll = 4,
    FindPanelReplace = 5,
    FindPanelReplaceAndFind = 6,
    FindPanelSetFindString = 7,
};

struct FindSettings {
    QString findString;
    QString replaceString;
    bool ignoreCase = true;
};

class TextFinder {
public:
    static TextFinder &shared();

    FindSettings settings;
    // Shows the find panel (installed by the panel; the show action does nothing without it).
    std::function<void()> showPanel;

    // Runs a find panel action in the editor; true when it found or replaced something.
    bool performAction(VekTextView &editor, int action);
};

// The next match of target in text after from (searching backwards: the last match that
// starts before from), wrapping around the end; none for an empty target or no match.
std::optional<TextRange> findInString(const QString &text, const QString &target, int from, bool backwards,
                                      bool ignoreCase);
