#include "scenes/scene_trace.h"

namespace kavorind {

void traceField(TraceFields& fields, const char* name, long value) {
    fields.text += ",\"";
    fields.text += name;
    fields.text += "\":";
    fields.text += std::to_string(value);
}

void traceNestedField(TraceFields& fields, const char* object, const char* name, long value) {
    fields.text += ",\"";
    fields.text += object;
    fields.text += "\":{\"";
    fields.text += name;
    fields.text += "\":";
    fields.text += std::to_string(value);
    fields.text += '}';
}

} // namespace kavorind
