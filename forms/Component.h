#pragma once
// The root of the window layer's objects: named components owned by a form, and the event
// types that connect them to the form's handlers.
#include <functional>
#include <string>

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TForm;

// Stores a property's new value; true when it differs from the old one, so that a setter
// reacts (raises its change, restarts its timer) only to a real change.
template <class T> bool ChangeProperty(T& field, const T& value) {
    if (field == value)
        return false;
    field = value;
    return true;
}

// A component has a name unique within its owner form; the language files address
// components by that name. The owner keeps the component alive (it is freed with the form).
class TComponent : public TObject {
public:
    explicit TComponent(TForm* owner, std::wstring name = {});
    ~TComponent() override;
    const std::wstring& Name() const { return name_; }
    TForm* Owner() const { return owner_; }

private:
    TForm* owner_;
    std::wstring name_;
};
