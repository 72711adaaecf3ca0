#include "forms/Actions.h"

#include <algorithm>

#include "forms/Application.h"

TAction::TAction(TForm* owner, std::wstring name, std::wstring category, std::wstring caption,
                 TShortCut shortCut)
    : TComponent(owner, std::move(name)), ShortCut(shortCut), caption_(std::move(caption)) {
    Category = std::move(category);
    hint_ = caption_;
}

void TAction::SetCaption(const std::wstring& caption) {
    if (ChangeProperty(caption_, caption))
        Changed();
}

void TAction::SetHint(const std::wstring& hint) {
    if (ChangeProperty(hint_, hint))
        Changed();
}

void TAction::SetEnabled(bool enabled) {
    if (ChangeProperty(enabled_, enabled))
        Changed();
}

void TAction::SetChecked(bool checked) {
    if (ChangeProperty(checked_, checked))
        Changed();
}

void TAction::SetVisible(bool visible) {
    if (ChangeProperty(visible_, visible))
        Changed();
}

void TAction::Update() {
    // A command without a handler has nothing to run and is shown disabled.
    if (!OnExecute)
        SetEnabled(false);
    else if (OnUpdate)
        OnUpdate(this);
}

bool TAction::Execute() {
    Update();
    if (!enabled_ || !OnExecute)
        return false;
    OnExecute(this);
    return true;
}

void TAction::AddChangeListener(void* client, std::function<void()> listener) {
    listeners_.push_back({client, std::move(listener)});
}

void TAction::RemoveChangeListener(void* client) {
    std::erase_if(listeners_, [client](const Listener& l) { return l.Client == client; });
}

void TAction::Changed() {
    const auto listeners = listeners_;
    for (const auto& l : listeners)
        l.Fn();
}

TActionList::TActionList(TForm* owner, std::wstring name) : TComponent(owner, std::move(name)) {
    if (Application)
        Application->AddIdleHandler(this, [this] { UpdateActions(); });
}

TActionList::~TActionList() {
    if (Application)
        Application->RemoveIdleHandlers(this);
}

void TActionList::UpdateActions() {
    for (TAction* a : actions_)
        Guarded([&] { a->Update(); });
}
