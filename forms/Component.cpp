#include "forms/Component.h"

#include "forms/Form.h"

TComponent::TComponent(TForm* owner, std::wstring name) : owner_(owner), name_(std::move(name)) {
    if (owner_)
        owner_->AddComponent(this);
}

TComponent::~TComponent() {
    if (owner_)
        owner_->RemoveComponent(this);
}
