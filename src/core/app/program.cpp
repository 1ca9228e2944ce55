#include "core/app/program.h"

#include <exception>
#include <memory>

#include "core/app/clock.h"
#include "core/app/event_loop.h"
#include "core/app/host_services.h"
#include "core/app/main_form.h"
#include "core/app/program_exit.h"
#include "core/app/start_delay.h"
#include "core/app/trace_log.h"

namespace planwarte {

int RunProgram(Services& services, const std::vector<std::string>& arguments) {
    services.trace.StartRun();
    try {
        WaitStartDelay(services.clock, services.loop, ReadStartDelaySeconds(services.settings));
        std::unique_ptr<SplashWindow> splash;
        if (services.splash) {
            splash = services.splash->CreateSplash();
        }
        TForm1 form(services, StartMode::Desktop, arguments, std::move(splash));
        form.FormCreate();
        if (form.EndRequested()) {
            return 0;
        }
        const int exit_code = services.loop.Run();
        form.FormClose();
        return exit_code;
    } catch (const ProgramExit& exit) {
        return exit.exit_code;
    } catch (const std::exception& error) {
        // What escapes the start-up is shown once; the program then ends normally.
        services.notice.ShowMessage(error.what());
        return 0;
    }
}

RenderedPage RenderPage(Services& services, std::optional<DateTime> date) {
    services.trace.StartRun();
    try {
        ReadStartDelaySeconds(services.settings);
        TForm1 form(services, StartMode::PageOnly, {}, nullptr);
        form.FormCreate();
        const DateTime build_date = date ? *date : DateOf(services.clock.Now());
        return {0, form.BuildPageText(build_date, form.DefaultPageWindow(), kRenderScreen)};
    } catch (const ProgramExit& exit) {
        return {exit.exit_code, {}};
    } catch (const std::exception& error) {
        // Shown as the desktop start shows it, but a page that could not be made is a failure
        // for whoever asked for it, so the exit code says so.
        services.notice.ShowMessage(error.what());
        return {1, {}};
    }
}

}  // namespace planwarte
