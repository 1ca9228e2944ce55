#include "core/page/body_template.h"

namespace planwarte {

std::string BodyTemplatePath(const TemplateSet& templates, BodySlot body) {
    switch (body) {
        case BodySlot::kWoche:
            return templates.woche;
        case BodySlot::kXTage:
            return templates.xtage;
        case BodySlot::kHeute:
            return templates.heute;
        case BodySlot::kZweiWochen:
            return templates.zwei_wochen;
        case BodySlot::kDreiWochen:
            return templates.drei_wochen;
        case BodySlot::kNone:
            break;
    }
    return {};
}

}  // namespace planwarte
