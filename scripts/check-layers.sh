#!/bin/sh
# Fails when an include crosses a layer: the core includes only the standard library and the
# core; an adapter includes the core, the shared POSIX helpers and itself, never another
# adapter; the POSIX helpers include only themselves and the system. The build's include
# roots already keep most of this from compiling; this check also covers third-party and
# system headers, which every target can reach.
set -eu
found=$(mktemp)
trap 'rm -f "$found"' EXIT
cd "$(dirname "$0")/.."

# The headers of the C++20 standard library, C compatibility headers included.
standard=" algorithm any array atomic barrier bit bitset cassert cctype cerrno cfenv cfloat
charconv chrono cinttypes climits clocale cmath codecvt compare complex concepts
condition_variable coroutine csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring
ctime cuchar cwchar cwctype deque exception execution filesystem format forward_list fstream
functional future initializer_list iomanip ios iosfwd iostream istream iterator latch limits
list locale map memory memory_resource mutex new numbers numeric optional ostream queue random
ranges ratio regex scoped_allocator semaphore set shared_mutex source_location span sstream
stack stdexcept stop_token streambuf string string_view syncstream system_error thread tuple
type_traits typeindex typeinfo unordered_map unordered_set utility valarray variant vector
version "
standard=$(echo "$standard" | tr '\n' ' ')

find src -name '*.h' -o -name '*.cpp' | sort | while read -r file; do
    case "$file" in
        src/core/*) layer=core ;;
        src/adapters/*) layer=adapter; own=$(echo "$file" | cut -d/ -f3) ;;
        src/posix/*) layer=posix ;;
        *) continue ;;
    esac
    grep -n '^[[:space:]]*#[[:space:]]*include' "$file" | while IFS= read -r line; do
        number=${line%%:*}
        target=$(echo "$line" | sed -E 's/^[^#]*#[[:space:]]*include[[:space:]]*[<"]([^>"]*)[>"].*/\1/')
        quoted=no
        case "$line" in *'"'*) quoted=yes ;; esac
        fault=""
        case "$target" in ../* | */../*) fault="leaves its folder" ;; esac
        if [ -z "$fault" ]; then
            case "$layer:$quoted" in
                core:yes)
                    case "$target" in core/*) ;; *) fault="the core includes only the core" ;; esac ;;
                core:no)
                    case "$standard" in *" $target "*) ;;
                        *) fault="the core includes only the standard library" ;; esac ;;
                adapter:yes)
                    case "$target" in core/* | posix/* | "adapters/$own/"*) ;;
                        *) fault="an adapter includes no other adapter" ;; esac ;;
                posix:yes)
                    case "$target" in posix/*) ;;
                        *) fault="the POSIX helpers include only themselves" ;; esac ;;
            esac
        fi
        if [ -n "$fault" ]; then
            echo "$file:$number: $target: $fault"
        fi
    done
done >"$found"

if [ -s "$found" ]; then
    echo "check-layers: includes that cross a layer:" >&2
    cat "$found" >&2
    exit 1
fi
echo "check-layers: every include keeps to its layer"
