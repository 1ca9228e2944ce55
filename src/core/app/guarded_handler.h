#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "core/app/program_exit.h"

namespace planwarte {

// Wraps an event handler so that an error escaping it is traced as "MAIN:::" and its text,
// never shown: the handling an error gets when it reaches the message loop. ProgramExit
// passes through, since it is the request to end the program.
template <typename Trace>
std::function<void()> GuardedHandler(std::function<void()> handler, Trace trace) {
    return [handler = std::move(handler), trace = std::move(trace)] {
        try {
            handler();
        } catch (const ProgramExit&) {
            throw;
        } catch (const std::exception& error) {
            trace(std::string("MAIN:::") + error.what());
        } catch (...) {
            trace("MAIN:::unknown error");
        }
    };
}

}  // namespace planwarte
