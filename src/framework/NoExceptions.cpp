// The program is built without exceptions (see src/main/CMakeLists.txt). These replace the
// standard library's parts that would throw or print, which also keeps their machinery (the
// unwinder, the exception classes, the name demangler) out of the exe.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

const char kOutOfMemory[] = "Quillet ran out of memory.";
const char kInternalError[] = "Quillet stopped after an internal error.";

[[noreturn]] void EndProgram(const char* pszText) {
    ::FatalAppExitA(0, pszText); // shows the text in a message box, then ends the process
    ::ExitProcess(3);
}

void* Allocate(std::size_t nSize) {
    void* p = std::malloc(nSize ? nSize : 1);
    if (p == nullptr)
        EndProgram(kOutOfMemory);
    return p;
}

} // namespace

// Running out of memory ends the program with a message instead of throwing std::bad_alloc.
void* operator new(std::size_t nSize) {
    return Allocate(nSize);
}

void* operator new[](std::size_t nSize) {
    return Allocate(nSize);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

// The standard library's throw points, reached only by a fault in the program (a string grown
// past its largest size, an index out of range): it cannot go on, so it ends.
// A link error "multiple definition of std::__throw_..." means the program now reaches one not
// listed here: add it.
namespace std {
void __throw_bad_alloc() {
    EndProgram(kOutOfMemory);
}
void __throw_bad_array_new_length() {
    EndProgram(kOutOfMemory);
}
void __throw_length_error(const char*) {
    EndProgram(kInternalError);
}
void __throw_logic_error(const char*) {
    EndProgram(kInternalError);
}
void __throw_out_of_range_fmt(const char*, ...) {
    EndProgram(kInternalError);
}
} // namespace std

// std::terminate's default handler; the library's own prints a demangled message to a console
// the program does not have. Reached only by a fault in the program (an error the standard
// library would throw), so it just ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    EndProgram(kInternalError);
}
} // namespace __gnu_cxx
