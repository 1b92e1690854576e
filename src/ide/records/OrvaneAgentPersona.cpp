#include "ide/records/OrvaneAgentPersona.h"

#include <QHashFunctions>

namespace orvane {

size_t qHash(const OrvaneAgentPersona &persona, size_t seed)
{
    return qHashMulti(seed, persona.id, persona.name, persona.handle, persona.role, persona.specialty, persona.icon,
        persona.accentHex, persona.starterPrompt, rawValue(persona.defaultWorkbench));
}

} // namespace orvane
