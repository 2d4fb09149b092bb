// Preloaded into a program under test: the process is killed the moment a file named
// $CRASH_AFTER_RENAME_TO has been renamed into place, as a power cut or SIGKILL would.
#include <dlfcn.h>
#include <signal.h>

#include <cstdlib>
#include <cstring>

extern "C" int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    const int result = real(from, to);
    const char* name = std::getenv("CRASH_AFTER_RENAME_TO");
    if (result == 0 && name && *name) {
        const char* slash = std::strrchr(to, '/');
        if (std::strcmp(slash ? slash + 1 : to, name) == 0)
            raise(SIGKILL);
    }
    return result;
}
