#include <optional>

#include "adapters/profile/demo_content.h"
#include "adapters/profile/ics_text.h"

namespace planwarte {

namespace {

struct DemoTask {
    const char* summary;
    std::optional<int> due_in_days;  // none: no due date
    int priority = 0;                // 0: none
    bool completed = false;
    // Due every week from a week before today; last week's occurrence is done, so today's
    // is the one that shows.
    bool weekly = false;
};

void AddTaskList(const std::string& collection, const std::string& color,
                 const std::vector<DemoTask>& tasks, DateTime today, std::vector<DemoFile>& files) {
    AddDemoCollection(collection, color, files);
    int number = 0;
    for (const DemoTask& task : tasks) {
        const std::string uid = "planwarte-" + collection + "-" + std::to_string(++number);
        std::vector<std::string> lines = {"BEGIN:VTODO", "UID:" + uid,
                                          "DTSTAMP:" + DemoStamp(today),
                                          "SUMMARY:" + IcsEscapeText(task.summary)};
        if (task.due_in_days) {
            lines.push_back("DUE;VALUE=DATE:" + IcsDate(DateTime(today.value + *task.due_in_days)));
        }
        if (task.priority > 0) {
            lines.push_back("PRIORITY:" + std::to_string(task.priority));
        }
        if (task.completed) {
            lines.push_back("STATUS:COMPLETED");
            lines.push_back("COMPLETED:" + DemoStamp(today));
            lines.push_back("PERCENT-COMPLETE:100");
        } else {
            lines.push_back("STATUS:NEEDS-ACTION");
        }
        if (task.weekly) {
            lines.push_back("RRULE:FREQ=WEEKLY");
        }
        lines.push_back("END:VTODO");
        if (task.weekly && task.due_in_days) {
            const std::string first = IcsDate(DateTime(today.value + *task.due_in_days));
            lines.insert(lines.end(),
                         {"BEGIN:VTODO", "UID:" + uid, "DTSTAMP:" + DemoStamp(today),
                          "RECURRENCE-ID;VALUE=DATE:" + first, "DUE;VALUE=DATE:" + first,
                          "STATUS:COMPLETED", "COMPLETED:" + DemoStamp(today), "END:VTODO"});
        }
        AddDemoItem(collection, uid, lines, files);
    }
}

}  // namespace

void AddDemoTasks(DateTime today, std::vector<DemoFile>& files) {
    AddTaskList("Demo-Aufgaben", "#0B8043",
                {
                    {"Steuererklärung abgeben", -3, 0, false},
                    {"Präsentation vorbereiten", 2, 1, false},
                    {"Bücher in die Bücherei bringen", std::nullopt, 0, false},
                    {"Urlaub planen", 10, 5, false},
                    {"Blumen gießen", -7, 0, false, true},
                    {"Fahrrad zur Inspektion bringen", -1, 0, true},
                },
                today, files);
    AddTaskList("Demo-Einkauf", "#8E24AA",
                {
                    {"Milch und Brot", 0, 0, false},
                    {"Geschenk für Anna", 1, 0, false},
                    {"Glühbirnen", std::nullopt, 0, false},
                    {"Kaffee", std::nullopt, 9, false},
                },
                today, files);
}

}  // namespace planwarte
