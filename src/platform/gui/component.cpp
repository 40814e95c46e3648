// TComponent: ownership list, free notifications and the lifetime handle.
#include "platform/gui/component.h"

#include <algorithm>
#include <cctype>

TComponent::TComponent(TComponent* owner) : FOwner(owner) {
    if (FOwner) FOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FLifetime.reset();
    // Owned non-visual components go first, newest first, as they were built
    // on top of what came before them.
    while (!FOwned.empty()) {
        auto last = std::move(FOwned.back());
        FOwned.pop_back();
        last.reset();
    }
    // Copy: a notified component may unlink itself while we walk the list.
    auto notifies = FFreeNotifies;
    FFreeNotifies.clear();
    for (TComponent* other : notifies) {
        auto& back = other->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        other->Notification(this, TOperation::Remove);
    }
    for (TComponent* child : FComponents) child->FOwner = nullptr;
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents) {
        if (c->Name.size() != name.size()) continue;
        bool same = std::equal(name.begin(), name.end(), c->Name.begin(),
                               [](char a, char b) { return std::tolower((unsigned char)a) == std::tolower((unsigned char)b); });
        if (same) return c;
    }
    return nullptr;
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), other) == FFreeNotifies.end()) FFreeNotifies.push_back(other);
    if (std::find(other->FFreeNotifies.begin(), other->FFreeNotifies.end(), this) == other->FFreeNotifies.end())
        other->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), other), FFreeNotifies.end());
    auto& back = other->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Loaded() { FLoading = false; }

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::InsertComponent(TComponent* component) { FComponents.push_back(component); }

void TComponent::RemoveComponent(TComponent* component) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component), FComponents.end());
    // The owner hears about components it owned going away, as VCL owners do.
    Notification(component, TOperation::Remove);
}
