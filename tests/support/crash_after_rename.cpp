// Preloaded into a program under test: the process is killed the moment a file named
// $CRASH_AFTER_RENAME_TO has been renamed into place, as a power cut or SIGKILL would; with
// $CRASH_AT=N at the N-th such rename, with $CRASH_BEFORE set just before it, leaving the
// new file unrenamed. With $PAUSE_FLAG set it is not killed but creates that file and
// sleeps a second there instead, so that a test can run something else at that moment.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern "C" int rename(const char* from, const char* to)
{
    using Rename = int (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Rename>(dlsym(RTLD_NEXT, "rename"));
    static int seen = 0;
    const char* name = std::getenv("CRASH_AFTER_RENAME_TO");
    const char* slash = std::strrchr(to, '/');
    const char* at = std::getenv("CRASH_AT");
    const bool chosen = name && *name && std::strcmp(slash ? slash + 1 : to, name) == 0 &&
                        ++seen == (at ? std::atoi(at) : 1);
    const char* pause = std::getenv("PAUSE_FLAG");
    if (chosen && !pause && std::getenv("CRASH_BEFORE"))
        raise(SIGKILL);
    const int result = real(from, to);
    if (chosen && result == 0 && pause) {
        close(open(pause, O_WRONLY | O_CREAT, 0644));
        sleep(1);
    } else if (chosen && result == 0) {
        raise(SIGKILL);
    }
    return result;
}
