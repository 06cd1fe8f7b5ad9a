#pragma once
// A shared library opened on its first use rather than when the program starts, each function
// looked up in the library's own scope. RL_LAZY_LIBRARY(Api, "libx.so.1", FUNCTIONS) defines a
// struct Api with a pointer for each function FUNCTIONS(X) names, typed after its declaration,
// and Api::Open(), which fills them; Complete is false when the library or any function is
// missing. The library is never closed: what it made may live until the program ends.

#include <dlfcn.h>

#define RL_LAZY_POINTER(name) decltype(&::name) name = nullptr;
#define RL_LAZY_RESOLVE(name)                                                                                \
    api.name = reinterpret_cast<decltype(api.name)>(dlsym(library, #name));                                 \
    api.Complete = api.Complete && api.name;

#define RL_LAZY_LIBRARY(Api, soname, FUNCTIONS)                                                              \
    struct Api                                                                                               \
    {                                                                                                        \
        bool Complete = false;                                                                               \
        FUNCTIONS(RL_LAZY_POINTER)                                                                           \
        static Api Open()                                                                                    \
        {                                                                                                    \
            Api api;                                                                                         \
            void *library = dlopen(soname, RTLD_NOW | RTLD_LOCAL);                                           \
            if (!library)                                                                                    \
                return api;                                                                                  \
            api.Complete = true;                                                                             \
            FUNCTIONS(RL_LAZY_RESOLVE)                                                                       \
            return api;                                                                                      \
        }                                                                                                    \
    };
