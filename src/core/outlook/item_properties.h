#pragma once

#include <optional>
#include <string>

#include "core/outlook/object_model.h"

// The value of an item's property by the name a filter or Sort writes ("[Start]", "duedate":
// brackets and letter case do not matter), read through the item's members, so that every
// source answers the same names alike. nullopt when items of the kind have no such property.
namespace planwarte {

std::optional<Variant> AppointmentProperty(const OlAppointmentItem& item, const std::string& name);
std::optional<Variant> TaskProperty(const OlTaskItem& item, const std::string& name);
std::optional<Variant> MailProperty(const OlMailItem& item, const std::string& name);
// By the kind of the item; nullopt for an item of another kind.
std::optional<Variant> ItemProperty(const OlItem& item, const std::string& name);

}  // namespace planwarte
