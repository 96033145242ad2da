#include "core/catalogue/task_definition.h"

#include "core/paths/path.h"
#include "core/xml/xml_reader.h"

namespace tarnwick {
namespace {

const XmlElement* Child(const XmlElement* element, TextView name) { return element ? element->Child(name) : nullptr; }

}  // namespace

bool ParseTaskDefinition(TextView xml, TaskDefinition& definition) {
  XmlElement root;
  Text error;
  if (!ParseXml(xml, root, error) || root.name != u"Task") return false;
  TaskDefinition parsed;
  if (const XmlElement* triggers = root.Child(u"Triggers")) {
    for (const XmlElement& trigger : triggers->children) {
      const XmlElement* enabled = trigger.Child(u"Enabled");
      const bool on = !enabled || !SameTextAscii(Trim(enabled->text), u"false");
      if (on && (trigger.name == u"LogonTrigger" || trigger.name == u"BootTrigger")) parsed.atLogonOrBoot = true;
    }
  }
  if (const XmlElement* enabled = Child(root.Child(u"Settings"), u"Enabled")) {
    parsed.enabled = !SameTextAscii(Trim(enabled->text), u"false");
  }
  if (const XmlElement* hidden = Child(root.Child(u"Settings"), u"Hidden")) {
    parsed.hidden = SameTextAscii(Trim(hidden->text), u"true");
  }
  if (const XmlElement* exec = Child(root.Child(u"Actions"), u"Exec")) {
    if (const XmlElement* command = exec->Child(u"Command")) parsed.command = Text(Trim(command->text));
    if (const XmlElement* arguments = exec->Child(u"Arguments")) parsed.arguments = Text(Trim(arguments->text));
  }
  definition = std::move(parsed);
  return true;
}

}  // namespace tarnwick
