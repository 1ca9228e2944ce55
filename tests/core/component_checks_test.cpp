#include "core/assistant/component_checks.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "adapters/fake/fake_component_checks.h"
#include "adapters/fake/fake_speech_service.h"
#include "adapters/fake/recording_shell_launcher.h"
#include "common/fake_services.h"
#include "core/app/event_loop.h"
#include "core/assistant/agent_host.h"
#include "core/assistant/install_help_dialogs.h"
#include "core/settings/setting_values.h"

namespace planwarte {
namespace {

using testing_support::FakeServices;
using Lines = std::vector<std::string>;

constexpr const char* kAgentCaption = "MS Agent nicht installiert!";
constexpr const char* kSapiCaption = "SAPI nicht installiert!";
constexpr const char* kTtsCaption = "TTS nicht installiert!";
constexpr const char* kAgentsCaption = "mindestens eine Figur muß installiert sein.";

// A character host on the fakes with the checks of its components, as the program composes
// them; the character is switched on.
struct CheckedHost {
    CheckedHost() {
        fakes.settings.SetInteger(kSettingsKeyPath, "CharacterUsed", 1);
        host = std::make_unique<AgentHost>(AgentHostServices{.speech = &speech,
                                                             .settings = fakes.settings,
                                                             .loop = fakes.loop,
                                                             .files = fakes.files,
                                                             .notice = fakes.notice,
                                                             .trace = [](const std::string&) {},
                                                             .component_checks = &checks},
                                           english);
        host->TakeWorkArea();
    }

    FakeServices fakes;
    FakeSpeechService speech;
    FakeComponentProbes probes;
    RecordingInstallHelpPresenter presenter;
    RecordingShellLauncher shell{&fakes.clock};
    TMKFFehler checks{
        {.probes = probes, .presenter = presenter, .shell = shell, .loop = fakes.loop}};
    bool english = false;
    std::unique_ptr<AgentHost> host;
};

TEST(ComponentChecks, TheFirstMissingComponentShowsItsDialogAndTheLaterOnesAreNotAsked) {
    struct Case {
        const char* name;
        bool character_host;
        bool speech_interface;
        int engine_count;
        bool characters;
        Lines shown;
        Lines asked;
    };
    const Lines every_probe{"character host", "speech interface", "engines", "characters"};
    const std::vector<Case> cases = {
        {"all present", true, true, 1, true, {}, every_probe},
        {"nothing present", false, false, 0, false, {kAgentCaption}, {"character host"}},
        {"no speech interface",
         true,
         false,
         0,
         false,
         {kSapiCaption},
         {"character host", "speech interface"}},
        {"no engine",
         true,
         true,
         0,
         true,
         {kTtsCaption},
         {"character host", "speech interface", "engines"}},
        {"an engine count below zero",
         true,
         true,
         -1,
         true,
         {kTtsCaption},
         {"character host", "speech interface", "engines"}},
        {"no character", true, true, 3, false, {kAgentsCaption}, every_probe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        FakeComponentProbes probes;
        probes.character_host = c.character_host;
        probes.speech_interface = c.speech_interface;
        probes.engine_count = c.engine_count;
        probes.characters = c.characters;
        RecordingInstallHelpPresenter presenter;
        RecordingShellLauncher shell;
        TMKFFehler checks(
            {.probes = probes, .presenter = presenter, .shell = shell, .loop = fakes.loop});
        const bool passed = c.shown.empty();
        EXPECT_EQ(checks.Run(false), passed);
        EXPECT_EQ(checks.Pending(), !passed);
        EXPECT_EQ(presenter.captions, c.shown);
        EXPECT_EQ(probes.asked, c.asked);
        // The dialog was closed with its button; nothing was opened without a click.
        EXPECT_EQ(presenter.results, passed ? std::vector<int>{} : std::vector<int>{2});
        EXPECT_TRUE(shell.starts.empty());
    }
}

TEST(ComponentChecksAtStart, WithoutAnEngineOnlyTheEngineDialogIsShownAtEveryStart) {
    CheckedHost world;
    world.probes.engine_count = 0;
    for (int start = 0; start < 3; ++start) {
        EXPECT_FALSE(world.host->LoadAgent(0, 0, true));
        EXPECT_FALSE(world.host->Available());
    }
    EXPECT_EQ(world.presenter.captions, (Lines{kTtsCaption, kTtsCaption, kTtsCaption}));
    EXPECT_TRUE(world.checks.Pending());
    // The checks come before the service is asked for anything.
    EXPECT_TRUE(world.speech.Log().empty());
    // A failed check is not the service's absence: the switch stays on.
    EXPECT_EQ(world.fakes.settings.IntegerValue(kSettingsKeyPath, "CharacterUsed"), 1);
}

TEST(ComponentChecksAtStart, OncePassedTheyAreNeverMadeAgainInThisRun) {
    CheckedHost world;
    ASSERT_TRUE(world.host->LoadAgent(0, 0, true));
    EXPECT_TRUE(world.presenter.captions.empty());
    EXPECT_FALSE(world.checks.Pending());
    EXPECT_EQ(world.speech.Log().front(), "Connect");

    // Every component goes away; the next start does not look again.
    world.probes.asked.clear();
    world.probes.character_host = false;
    world.probes.speech_interface = false;
    world.probes.engine_count = 0;
    world.probes.characters = false;
    world.host->UnloadAgent();
    EXPECT_TRUE(world.host->LoadAgent(0, 0, true));
    EXPECT_TRUE(world.probes.asked.empty());
    EXPECT_TRUE(world.presenter.captions.empty());
}

TEST(ComponentChecksAtStart, AComponentInstalledAfterItsDialogLetsTheNextStartGoOn) {
    CheckedHost world;
    world.probes.characters = false;
    EXPECT_FALSE(world.host->LoadAgent(0, 0, true));
    world.probes.characters = true;
    EXPECT_TRUE(world.host->LoadAgent(0, 0, true));
    EXPECT_EQ(world.presenter.captions, (Lines{kAgentsCaption}));
    EXPECT_FALSE(world.checks.Pending());
}

TEST(ComponentChecksAtStart, ACharacterSwitchedOffStartsNoCheck) {
    CheckedHost world;
    world.fakes.settings.SetInteger(kSettingsKeyPath, "CharacterUsed", 0);
    world.probes.character_host = false;
    EXPECT_FALSE(world.host->LoadAgent(0, 0, true));
    EXPECT_TRUE(world.probes.asked.empty());
    EXPECT_TRUE(world.presenter.captions.empty());
    EXPECT_TRUE(world.checks.Pending());
}

TEST(ComponentChecksAtStart, ALoadedCharacterIsShownWithoutACheck) {
    CheckedHost world;
    ASSERT_TRUE(world.host->LoadAgent(0, 0, false));
    world.probes.asked.clear();
    EXPECT_TRUE(world.host->LoadAgent(0, 0, true));
    EXPECT_TRUE(world.probes.asked.empty());
}

TEST(ComponentChecksAtStart, TheDialogsLinkFollowsTheEnglishTextsFlagOfTheStart) {
    struct Case {
        const char* name;
        bool english;
        Lines opened;
    };
    const std::vector<Case> cases = {
        {"German",
         false,
         {"https://planwarte.invalid/dynlinks/index.php?go=MSagent.exe",
          "https://planwarte.invalid/downloads/ms/AgtX0407.exe"}},
        {"English", true, {"https://planwarte.invalid/dynlinks/index.php?go=MSagent.exe"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CheckedHost world;
        world.english = c.english;
        world.probes.character_host = false;
        world.presenter.on_show = [](InstallHelpDialog& dialog) {
            dialog.HTMLabel1AnchorClick(dialog.Anchor());
            dialog.Button1Click();
        };
        EXPECT_FALSE(world.host->LoadAgent(0, 0, true));
        EXPECT_EQ(world.shell.Files(), c.opened);
    }
}

using DialogFactory = std::function<std::unique_ptr<InstallHelpDialog>(InstallHelpLinks)>;

template <typename Dialog>
DialogFactory Make() {
    return [](InstallHelpLinks links) { return std::make_unique<Dialog>(links); };
}

TEST(InstallHelpLinks, AClickOpensTheDialogsDownloadPages) {
    struct Case {
        const char* name;
        DialogFactory make;
        const char* anchor;
        bool english;
        std::vector<RecordingShellLauncher::Start> opened;
        std::int64_t ends_at_ms;
    };
    const std::string host = "https://planwarte.invalid";
    const std::vector<Case> cases = {
        {"agent: the core, and after ten seconds the German component",
         Make<TFehlerMeldungAGENT>(),
         "SAPIINSTALL",
         false,
         {{host + "/dynlinks/index.php?go=MSagent.exe", "", kShowNormal, 0},
          {host + "/downloads/ms/AgtX0407.exe", "", kShowNormal, 10'000}},
         10'000},
        {"agent with English texts: only the core",
         Make<TFehlerMeldungAGENT>(),
         "SAPIINSTALL",
         true,
         {{host + "/dynlinks/index.php?go=MSagent.exe", "", kShowNormal, 0}},
         10'000},
        {"speech interface",
         Make<TFehlerMeldungSAPI>(),
         "SAPIINSTALL",
         false,
         {{host + "/dynlinks/index.php?go=spchapi.exe", "", kShowNormal, 0}},
         0},
        {"engine, German anchor",
         Make<TFehlerMeldungTTS>(),
         "TTSGER",
         false,
         {{host + "/dynlinks/index.php?go=TTS3000.exe", "", kShowNormal, 0}},
         0},
        {"engine, any other anchor",
         Make<TFehlerMeldungTTS>(),
         "TTSENG",
         false,
         {{host + "/dynlinks/index.php?go=tv_enua.exe", "", kShowNormal, 0}},
         0},
        {"characters: Merlin, then Peedy",
         Make<TFehlerMeldungAGENTS>(),
         "SAPIINSTALL",
         false,
         {{host + "/dynlinks/index.php?go=Merlin.exe", "", kShowNormal, 0},
          {host + "/dynlinks/index.php?go=Peedy.exe", "", kShowNormal, 0}},
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        RecordingShellLauncher shell(&fakes.clock);
        const std::unique_ptr<InstallHelpDialog> dialog =
            c.make({.shell = shell, .loop = fakes.loop, .english = c.english});
        dialog->HTMLabel1AnchorClick(c.anchor);
        EXPECT_EQ(shell.starts, c.opened);
        EXPECT_EQ(fakes.clock.ElapsedMs(), c.ends_at_ms);
        // A click does not close the dialog.
        EXPECT_EQ(dialog->ModalResult(), 0);
        std::vector<std::string> addresses;
        for (const auto& start : c.opened) {
            addresses.push_back(start.file);
        }
        EXPECT_EQ(dialog->LinkAddresses(c.anchor), addresses);
    }
}

TEST(InstallHelpLinks, TheAgentDialogProcessesMessagesBeforeItsPause) {
    FakeServices fakes;
    RecordingShellLauncher shell(&fakes.clock);
    TFehlerMeldungAGENT dialog({.shell = shell, .loop = fakes.loop});
    std::vector<RecordingShellLauncher::Start> seen_by_message;
    fakes.loop.Post([&] { seen_by_message = shell.starts; });
    dialog.HTMLabel1AnchorClick("SAPIINSTALL");
    // The message ran after the first page was opened and before time moved on.
    ASSERT_EQ(seen_by_message.size(), 1u);
    EXPECT_EQ(seen_by_message[0].at_ms, 0);
    EXPECT_EQ(shell.starts.size(), 2u);
}

TEST(InstallHelpDialogs, TheButtonClosesWithTheCancelResult) {
    FakeServices fakes;
    RecordingShellLauncher shell;
    TFehlerMeldungSAPI dialog({.shell = shell, .loop = fakes.loop});
    EXPECT_EQ(dialog.ModalResult(), 0);
    dialog.Button1Click();
    EXPECT_EQ(dialog.ModalResult(), 2);
}

TEST(InstallHelpDialogs, CaptionLabelAndPlainText) {
    struct Case {
        const char* name;
        DialogFactory make;
        const char* caption;
        const char* anchor;
        bool dialog_border;
        std::string html;
        std::string plain;
    };
    const std::string agent_text =
        "Leider ist ist die Microsoft® Agent Technologie bei Ihnen nicht installiert. Das "
        "Programm kann deshalb nicht ausgeführt werden. Um MS Agent auf ihrem System zu "
        "installieren folgen Sie bitte";
    const std::string sapi_text =
        "Leider ist SAPI nicht installiert. Das Programm kann deshalb nicht ausgeführt werden. "
        "Um SAPI auf ihrem System zu installieren, folgen Sie bitte";
    const std::string tts_text =
        "Leider ist auf Ihrem System keine TextToSpeech Engine installiert. Das Programm kann "
        "deshalb nicht ausgeführt werden. Um mindestens eine TTS auf Ihrem System zu "
        "installieren, folgen Sie bitte";
    const std::string agents_text =
        "Leider sind auf Ihrem System keine Microsoft Agenten (Figuren) installiert. Das "
        "Programm kann deshalb nicht ausgeführt werden. Um Figuren auf Ihrem System zu "
        "installieren folgen Sie bitte";
    const std::string agents_after =
        "Mit dem Link werden zwei Agenten installiert (Peedy und Merlin).";
    const std::string open = "<p align=\"center\"><font face=\"Tahoma\"><b>";
    const auto link = [](const std::string& anchor) {
        return " <a href=\"" + anchor + "\">diesem Link.</a></b></font></p>";
    };
    const std::vector<Case> cases = {
        {"agent", Make<TFehlerMeldungAGENT>(), kAgentCaption, "SAPIINSTALL", false,
         open + agent_text + link("SAPIINSTALL"), agent_text + " diesem Link."},
        {"speech interface", Make<TFehlerMeldungSAPI>(), kSapiCaption, "SAPIINSTALL", true,
         open + sapi_text + link("SAPIINSTALL"), sapi_text + " diesem Link."},
        {"engine", Make<TFehlerMeldungTTS>(), kTtsCaption, "TTSGER", false,
         open + "<img src=\"speak\">" + tts_text + link("TTSGER"), tts_text + " diesem Link."},
        {"characters", Make<TFehlerMeldungAGENTS>(), kAgentsCaption, "SAPIINSTALL", false,
         open + agents_text + link("SAPIINSTALL") + agents_after,
         agents_text + " diesem Link.\n" + agents_after},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeServices fakes;
        RecordingShellLauncher shell;
        const std::unique_ptr<InstallHelpDialog> dialog =
            c.make({.shell = shell, .loop = fakes.loop});
        EXPECT_EQ(dialog->Caption(), c.caption);
        EXPECT_EQ(dialog->Anchor(), c.anchor);
        EXPECT_EQ(dialog->DialogBorder(), c.dialog_border);
        EXPECT_EQ(dialog->LabelHtml(), c.html);
        EXPECT_EQ(dialog->PlainText(), c.plain);
    }
}

TEST(InstallHelpDialogs, PlainReportHasTheCaptionTheTextLinesAndTheAddressesOfItsLink) {
    FakeServices fakes;
    RecordingShellLauncher shell;
    const TFehlerMeldungAGENTS characters({.shell = shell, .loop = fakes.loop});
    const Lines report = PlainReport(characters);
    ASSERT_EQ(report.size(), 5u);
    EXPECT_EQ(report[0], kAgentsCaption);
    EXPECT_TRUE(report[1].starts_with("Leider sind auf Ihrem System keine Microsoft Agenten"));
    EXPECT_TRUE(report[1].ends_with("folgen Sie bitte diesem Link."));
    EXPECT_EQ(report[2], "Mit dem Link werden zwei Agenten installiert (Peedy und Merlin).");
    EXPECT_EQ(report[3], "Link: https://planwarte.invalid/dynlinks/index.php?go=Merlin.exe");
    EXPECT_EQ(report[4], "Link: https://planwarte.invalid/dynlinks/index.php?go=Peedy.exe");

    // The engine dialog's own anchor is the German engine's; its picture is not text.
    const TFehlerMeldungTTS engine({.shell = shell, .loop = fakes.loop});
    EXPECT_EQ(PlainReport(engine),
              (Lines{kTtsCaption, engine.PlainText(),
                     "Link: https://planwarte.invalid/dynlinks/index.php?go=TTS3000.exe"}));
    // Nothing is opened by reporting.
    EXPECT_TRUE(shell.starts.empty());
}

}  // namespace
}  // namespace planwarte
