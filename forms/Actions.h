#pragma once
// Actions: the commands of a form with caption, hint, shortcut, category, check mark and
// enabled state. Menu items and tool buttons bound to an action follow its changes; the
// update test runs whenever the program is idle.
#include <functional>
#include <string>
#include <vector>

#include "core/ShortCut.h"
#include "forms/Component.h"

class TAction : public TComponent {
public:
    TAction(TForm* owner, std::wstring name, std::wstring category, std::wstring caption,
            TShortCut shortCut = 0);

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& hint);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    int ImageIndex = -1;
    std::wstring Category;
    TShortCut ShortCut = 0;

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    // Runs the update test, then the command when it is enabled. True when it ran.
    bool Execute();
    // The update test alone.
    void Update();

    // Clients (menu items, tool buttons) are told of every change.
    void AddChangeListener(void* client, std::function<void()> listener);
    void RemoveChangeListener(void* client);

private:
    void Changed();
    std::wstring caption_;
    std::wstring hint_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
    struct Listener {
        void* Client;
        std::function<void()> Fn;
    };
    std::vector<Listener> listeners_;
};

// The action list of a form: runs the update tests of its actions at idle time.
class TActionList : public TComponent {
public:
    explicit TActionList(TForm* owner, std::wstring name = L"ActionList1");
    ~TActionList() override;
    void Add(TAction* action) { actions_.push_back(action); }
    const std::vector<TAction*>& Actions() const { return actions_; }
    void UpdateActions();

private:
    std::vector<TAction*> actions_;
};
