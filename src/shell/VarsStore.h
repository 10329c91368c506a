#pragma once
// Class-wide values of the game classes (spiral centres, dive velocities …): one object per
// type T, default-constructed on first use. Copying the store copies every value, whatever its
// type, which is how a snapshot keeps them.
#include <cstddef>
#include <memory>
#include <vector>

namespace kv {

class TVarsStore {
public:
    TVarsStore() = default;
    TVarsStore(const TVarsStore& Other) { *this = Other; }
    TVarsStore& operator=(const TVarsStore& Other) {
        if (this == &Other) return *this;
        if (Values_.size() < Other.Values_.size()) Values_.resize(Other.Values_.size());
        for (size_t i = 0; i < Values_.size(); ++i) {
            const THolderBase* from = i < Other.Values_.size() ? Other.Values_[i].get() : nullptr;
            // Assigned in place: code that holds a value's address keeps it.
            if (from && Values_[i])
                Values_[i]->Assign(*from);
            else if (from)
                Values_[i] = from->Copy();
            else if (Values_[i])
                Values_[i]->Reset();
        }
        return *this;
    }

    template <class T>
    T& Get() {
        static const size_t id = NextId();
        if (id >= Values_.size()) Values_.resize(id + 1);
        if (!Values_[id]) Values_[id] = std::make_unique<THolder<T>>();
        return static_cast<THolder<T>*>(Values_[id].get())->Value;
    }

private:
    struct THolderBase {
        virtual ~THolderBase() = default;
        virtual std::unique_ptr<THolderBase> Copy() const = 0;
        virtual void Assign(const THolderBase& Other) = 0;
        virtual void Reset() = 0;
    };
    template <class T>
    struct THolder final : THolderBase {
        T Value{};
        std::unique_ptr<THolderBase> Copy() const override { return std::make_unique<THolder>(*this); }
        void Assign(const THolderBase& Other) override { Value = static_cast<const THolder&>(Other).Value; }
        void Reset() override { Value = T{}; }
    };
    static size_t NextId();
    std::vector<std::unique_ptr<THolderBase>> Values_;
};

}  // namespace kv
