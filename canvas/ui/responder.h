// The responder chain: how a menu command finds the object that carries it out.
//
// A command is named by its action ("saveDocument", "selectAll", "group", "alignLeft", ...).
// The chain runs from the focused canvas to its document window (which stands for the
// window and its document) and on to the application controller; the first responder that
// answers respondsToAction() validates and performs the command. A menu item whose action
// no responder takes is disabled.
#pragma once

#include <QString>

#include <vector>

// What a menu item or control tells the responder that acts on it; validation may change
// the title and the check state shown.
struct ActionSender {
    int tag = 0;
    int state = 0;        // 0 off, 1 on
    QString title;
    const void *control = nullptr;   // identity of the item or control
};

class Responder {
public:
    virtual ~Responder() = default;
    virtual bool respondsToAction(const QString &action) const = 0;
    // Whether the command can run now; may set the sender's title and state.
    virtual bool validateAction(const QString &action, ActionSender &sender) { return true; }
    // Carries the command out; false when it did nothing.
    virtual bool performAction(const QString &action, const ActionSender &sender) = 0;
};

// A chain of responders, front first.
class ResponderChain {
public:
    explicit ResponderChain(std::vector<Responder *> responders) : m_responders(std::move(responders)) {}

    // The first responder that takes the action, or null.
    Responder *targetForAction(const QString &action) const
    {
        for (Responder *r : m_responders)
            if (r && r->respondsToAction(action))
                return r;
        return nullptr;
    }
    // False when no responder takes the action or the one that does refuses it now.
    bool validateAction(const QString &action, ActionSender &sender) const
    {
        Responder *target = targetForAction(action);
        return target && target->validateAction(action, sender);
    }
    bool performAction(const QString &action, const ActionSender &sender) const
    {
        Responder *target = targetForAction(action);
        ActionSender probe = sender;
        return target && target->validateAction(action, probe) && target->performAction(action, sender);
    }

private:
    std::vector<Responder *> m_responders;
};
