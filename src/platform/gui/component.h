// TComponent: the root of every framework object that has a name. An owner
// lists the components it owns in creation order (the language pass walks
// this list) and frees the non-visual ones with itself; controls are freed
// by their parent. Components that reference another ask it for a free
// notification so they can drop the reference before it dangles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TOperation { Insert, Remove };

class TComponent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;
    intptr_t Tag = 0;

    TComponent* Owner() const { return FOwner; }
    const std::vector<TComponent*>& Components() const { return FComponents; }
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* FindComponent(const std::string& name) const;

    // Creates a non-visual component owned (and freed) by this one.
    template <class T, class... Args>
    T* Create(Args&&... args) {
        auto item = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = item.get();
        FOwned.push_back(std::move(item));
        return raw;
    }

    // Links this component and `other`: whichever is freed first calls
    // Notification(itself, Remove) on the other, and the link goes.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Called once after construction and set-up, before the first show.
    virtual void Loaded();
    bool IsLoading() const { return FLoading; }

    // A weak handle that expires when this object is destroyed: taken before
    // calling out to code that may free this object.
    std::weak_ptr<void> Lifetime() const { return FLifetime; }

protected:
    virtual void Notification(TComponent* component, TOperation operation);
    bool FLoading = true;

private:
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<std::unique_ptr<TComponent>> FOwned;
    std::vector<TComponent*> FFreeNotifies;
    std::shared_ptr<char> FLifetime = std::make_shared<char>(0);
};
