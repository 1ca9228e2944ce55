#pragma once

#include <string>

namespace planwarte {

// The files of the chosen design, as full paths.
struct TemplateSet {
    std::string haupt;        // the page; its KALENDER tag takes the view's body
    std::string monat;        // month view body
    std::string tag;          // one day cell of the month view
    std::string woche;        // week view body
    std::string zwei_wochen;  // two-weeks view body ("2wochen")
    std::string drei_wochen;  // three-weeks view body ("3wochen")
    std::string xtage;        // x-days view body
    std::string heute;        // today view body
    std::string xtagetag;     // one day block of the x-days view
    std::string folder;       // the template folder itself, with a trailing "/"
};

}  // namespace planwarte
