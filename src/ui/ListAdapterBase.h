#pragma once
#include <QString>
#include <functional>
#include <map>

class ItemPanel;

// The data behind a template list view. The view asks for the row count and has the adapter fill
// each row's panel; the adapter tells the view's observer when its data changed. Held by
// shared_ptr: the list view keeps the lasting reference.
class ListAdapterBase {
public:
    virtual ~ListAdapterBase() = default;

    virtual int GetCount() = 0;
    // Fills the row's panel; builds its widgets first when it has none (CreateChildren).
    virtual void GetView(int position, ItemPanel& item) = 0;

    // Observers hear NotifyDataSetChanged; the id removes one again.
    int AddObserver(std::function<void()> observer) {
        observers_.emplace(nextId_, std::move(observer));
        return nextId_++;
    }
    void RemoveObserver(int id) { observers_.erase(id); }
    void NotifyDataSetChanged() {
        // An observer may remove itself while being told.
        const auto copy = observers_;
        for (const auto& [id, observer] : copy) observer();
    }

private:
    std::map<int, std::function<void()>> observers_;
    int nextId_ = 1;
};
