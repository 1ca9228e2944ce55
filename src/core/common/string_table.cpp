#include "core/common/string_table.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <type_traits>

namespace planwarte {

namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by identifier; the texts are shown exactly as they stand. A line break is "\n", which
// the message boxes and the console show as one.
constexpr std::array kTable{
    Entry{1001, "ViRoriDll.dll ist nicht registriert"},
    Entry{1101, "Sie haben Post!"},
    Entry{1201,
          "Outlook ist wahrscheinlich nicht installiert (Sie müssen mindestens Outlook 2000 "
          "verwenden)\nSollten Sie das Microsoft Backup-AddIn für OL verwenden, so funktioniert "
          "das Programm leider auch nicht."},
    Entry{1202, "Outlook ist wahrscheinlich nicht installiert \n"},
    Entry{1203, "Outlook wurde 5x neu gestartet, leider muß nun der Kalender geschlossen werden."},
    Entry{1204, "Schließen Sie erst das Einstellungsfenster"},
    Entry{1205, "Eine oder mehrere der Vorlagen wurden nicht gefunden"},
    Entry{1206, "Dieses Programm läuft erst ab Windows 2000"},
    Entry{1207, "Initialisieren"},
    Entry{1208, "Die gewählte Sprache konnte nicht geladen werden!"},
    Entry{1209,
          "Dieser Spruch ist bereits enthalten, denken Sie sich bitte einen neuen Namen aus."},
    Entry{1210, "starte Outlook..."},
    Entry{1212, "keine weiteren Informationen"},
    Entry{1213, "Sie haben heute Termine"},
    Entry{1215, "<br><B>Merkfalter(für Outlook)</B>"},
    Entry{1216, "Merkfalter (für Outlook)"},
    Entry{1217, "Vorlagen laden..."},
    Entry{1222, "Kalender erzeugen"},
    Entry{1223, "Evtl. ist der MS-Agent bei Ihnen nicht installiert!"},
    Entry{1224, "Merkfalter"},
    Entry{1225, "Vorlesen des geöffneten Outlookeintrags"},
    Entry{1226, "Ohh, kein Text vorhanden?"},
    Entry{1227,
          "Hmmm,ich soll die Zwischenablage vorlesen? Ich habe dort aber leider keinen Text "
          "gefunden!"},
    Entry{1301, "lesen"},
    Entry{1302, "hh:mm 'Uhr'"},
    Entry{1303, "d.m.yy hh:mm 'Uhr'"},
    Entry{1304, "' bis: 'd.m.yy hh:mm 'Uhr'"},
    Entry{1305, "FEIERTAG"},
    Entry{1306, "Geburtstag"},
    Entry{1307, "Heute:"},
    Entry{1308, "outl_mf_help.chm"},
    Entry{1309, "Die Zeit, es ist <TIME>"},
    Entry{1310, "hh:mm 'Uhr'"},
    Entry{1312, "KW: "},
    Entry{1313, "dddd, 'der' d mmmm yyyy"},
    Entry{1314, "Aufgaben:"},
    Entry{1315, "Termine:"},
    Entry{1316, "Minimieren"},
    Entry{1317, "Wiederherstellen"},
    Entry{1400, "Sonntag"},
    Entry{1401, "Montag"},
    Entry{1402, "Dienstag"},
    Entry{1403, "Mittwoch"},
    Entry{1404, "Donnerstag"},
    Entry{1405, "Freitag"},
    Entry{1406, "Samstag"},
    Entry{65306, "Warnung des COM-Servers"},
    Entry{65307,
          "Diese Anwendung enthält noch aktive COM-Objekte. Mindestens ein Client verweist noch "
          "auf diese Objekte so daß manuelles Schließen "},
    Entry{65308,
          "dieser Anwendung dazu führen könnte, daß die Client-Anwendungen nicht korrekt "
          "funktionieren.\n\nSind Sie sicher, daß Sie diese Anwendung schließen möchten?"},
};

static_assert(std::is_sorted(kTable.begin(), kTable.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

const Entry* Find(int id) {
    const auto it = std::lower_bound(kTable.begin(), kTable.end(), id,
                                     [](const Entry& entry, int key) { return entry.id < key; });
    return it != kTable.end() && it->id == id ? &*it : nullptr;
}

}  // namespace

std::string LoadStr(int id) {
    const Entry* entry = Find(id);
    return entry ? std::string(entry->text) : std::string();
}

bool HasStr(int id) {
    return Find(id) != nullptr;
}

}  // namespace planwarte
