// Replaces one method in the method table of a COM object for the lifetime of
// a MethodPatch, so that tests can make a Direct3D call fail or watch what the
// code under test writes. The table is shared by every object of the class.
#ifndef MAPEDITOR_TESTS_METHODPATCH_H
#define MAPEDITOR_TESTS_METHODPATCH_H

#include <windows.h>

#include <stdint.h>
#include <string.h>

// Slot of a virtual method: mingw-w64's C++ ABI stores a pointer to a
// virtual member function as 1 + the byte offset of its slot.
template <typename Method> size_t MethodSlot(Method method)
{
    struct Representation
    {
        uintptr_t pointer;
        ptrdiff_t adjust;
    } representation;
    static_assert(sizeof(Method) == sizeof(Representation), "Itanium member pointer");
    memcpy(&representation, &method, sizeof(representation));
    return (representation.pointer - 1) / sizeof(void*);
}

class MethodPatch
{
  public:
    template <typename Method>
    MethodPatch(void* object, Method method, void* hook)
        : table_(*(void***)object), slot_(MethodSlot(method))
    {
        original_ = table_[slot_];
        Write(hook);
    }
    ~MethodPatch() { Write(original_); }
    MethodPatch(const MethodPatch&) = delete;
    MethodPatch& operator=(const MethodPatch&) = delete;

    template <typename F> F Original() const { return (F)original_; }

  private:
    void Write(void* value)
    {
        DWORD old = 0;
        VirtualProtect(&table_[slot_], sizeof(void*), PAGE_READWRITE, &old);
        table_[slot_] = value;
        VirtualProtect(&table_[slot_], sizeof(void*), old, &old);
    }

    void** table_;
    size_t slot_;
    void* original_;
};

// A page that faults on any access: handed out by failing Lock hooks so a
// write through the pointer of a failed lock crashes the test.
inline void* NoAccessPage()
{
    static void* page = VirtualAlloc(nullptr, 65536, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    return page;
}

#endif
