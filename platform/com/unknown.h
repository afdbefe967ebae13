#pragma once
// Reference-counted objects and their interfaces.
//
// An interface is an abstract class that derives from IUnknown (directly or
// through another interface) and declares its identity and the interface it
// extends:
//
//   class ITasks : public IDispatch {
//   public:
//       using Base = IDispatch;
//       static constexpr IID iid = Guid::literal("{99D5249C-DC6D-43DC-94B5-CFCA0748B73E}");
//       virtual HRESULT Add(ITask* task) = 0;
//   };
//
// An object derives from Object<its interfaces...>, which counts references
// and answers QueryInterface for IUnknown, each listed interface and every
// interface it extends. Objects are made with make<T>() and held in ComPtr.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "platform/com/guid.h"
#include "platform/hresult.h"

namespace platform::com {

class IUnknown {
public:
    static constexpr IID iid = Guid::literal("{00000000-0000-0000-C000-000000000046}");

    // S_OK and a new reference in *object, or E_NOINTERFACE and nullptr.
    virtual HRESULT QueryInterface(const IID& id, void** object) = 0;
    virtual std::uint32_t AddRef() = 0;
    // Releasing the last reference destroys the object.
    virtual std::uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

// A counted pointer: holds one reference while it points at something.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference.
    ComPtr(T* pointer) : m_pointer(pointer) { addRef(); }
    ComPtr(const ComPtr& other) : m_pointer(other.m_pointer) { addRef(); }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    template <class U>
        requires std::is_convertible_v<U*, T*>
    ComPtr(const ComPtr<U>& other) : m_pointer(other.get())
    {
        addRef();
    }
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t)
    {
        reset();
        return *this;
    }

    // Takes over a reference the caller already owns (an out parameter's).
    static ComPtr adopt(T* pointer)
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }

    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    T& operator*() const { return *m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    void reset()
    {
        if (T* old = std::exchange(m_pointer, nullptr))
            old->Release();
    }
    // Gives up the reference without releasing it.
    T* detach() { return std::exchange(m_pointer, nullptr); }
    void swap(ComPtr& other) noexcept { std::swap(m_pointer, other.m_pointer); }

    // The slot for an out parameter (what it held is released first).
    T** put()
    {
        reset();
        return &m_pointer;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // QueryInterface for I.
    template <class I>
    HRESULT query(ComPtr<I>& out) const
    {
        out.reset();
        return m_pointer ? m_pointer->QueryInterface(I::iid, out.putVoid()) : E_POINTER;
    }
    template <class I>
    ComPtr<I> as() const
    {
        ComPtr<I> out;
        query(out);
        return out;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.m_pointer == b.m_pointer; }

private:
    void addRef()
    {
        if (m_pointer)
            m_pointer->AddRef();
    }

    T* m_pointer = nullptr;
};

namespace detail {

template <class T>
constexpr bool isComPtr = false;
template <class I>
constexpr bool isComPtr<ComPtr<I>> = true;

// Live objects of the whole process (one count, in the platform library).
void objectCreated();
void objectDestroyed();

// I, then the interface I extends, and so on down to IUnknown.
template <class I>
void* findInChain(I* pointer, const IID& id)
{
    if (I::iid == id)
        return pointer;
    if constexpr (requires { typename I::Base; })
        return findInChain<typename I::Base>(pointer, id);
    else
        return nullptr;
}

template <class I>
constexpr bool chainHas(const IID& id)
{
    if (I::iid == id)
        return true;
    if constexpr (requires { typename I::Base; })
        return chainHas<typename I::Base>(id);
    else
        return false;
}

// An interface that forgot its own iid inherits its base's.
template <class I>
constexpr bool declaresOwnIid()
{
    if constexpr (requires { typename I::Base; })
        return I::iid != I::Base::iid && declaresOwnIid<typename I::Base>();
    else
        return std::is_same_v<I, IUnknown>;
}

}  // namespace detail

// Objects alive in the process, in every library (DllCanUnloadNow reads it).
std::size_t liveObjectCount();

template <class... Interfaces>
class Object : public Interfaces... {
    static_assert(sizeof...(Interfaces) > 0);
    static_assert((std::is_base_of_v<IUnknown, Interfaces> && ...));
    static_assert((detail::declaresOwnIid<Interfaces>() && ...),
                  "every interface declares its own iid and `using Base`");

public:
    HRESULT QueryInterface(const IID& id, void** object) override
    {
        if (!object)
            return E_POINTER;
        void* found = nullptr;
        ((found = found ? found : detail::findInChain<Interfaces>(static_cast<Interfaces*>(this), id)),
         ...);
        *object = found;
        if (!found)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override
    {
        const std::uint32_t left = --m_references;
        if (left == 0) {
            // References taken and dropped by the destructor must not
            // destroy the object a second time.
            m_references = kDestroying;
            delete this;
        }
        return left;
    }

    // The answer an object that lists ISupportErrorInfo gives: its members
    // leave error info for every interface it implements.
    HRESULT InterfaceSupportsErrorInfo(const IID& id) { return implements(id) ? S_OK : S_FALSE; }

    // True for IUnknown, the listed interfaces and the ones they extend.
    static constexpr bool implements(const IID& id) { return (detail::chainHas<Interfaces>(id) || ...); }

protected:
    Object() { detail::objectCreated(); }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object() { detail::objectDestroyed(); }

private:
    static constexpr std::uint32_t kDestroying = 1u << 30;
    std::atomic<std::uint32_t> m_references{0};
};

// A new object with one reference, held by the answer.
template <class T, class... Args>
ComPtr<T> make(Args&&... args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace platform::com
