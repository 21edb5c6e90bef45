#pragma once
#include <QtGlobal>

// The one program-wide instance of a class created at start (a data module); tests set
// their own. Forget() is called by the instance's destructor.
template <class T>
class TProgramInstance
{
public:
    static T &Get()
    {
        Q_ASSERT(pointer());
        return *pointer();
    }
    static bool Has() { return pointer() != nullptr; }
    static void Set(T *instance) { pointer() = instance; }
    static void Forget(const T *instance)
    {
        if (pointer() == instance)
            pointer() = nullptr;
    }

private:
    static T *&pointer()
    {
        static T *instance = nullptr;
        return instance;
    }
};
