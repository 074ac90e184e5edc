#pragma once
#include <string>

namespace kavorind {

// One line of a run's trace being written: a JSON object's members, each scene adding its state
// under its own names. The text holds the members written so far, each preceded by a comma.
struct TraceFields {
    std::string text;
};

// Adds "name":value.
void traceField(TraceFields& fields, const char* name, long value);
// Adds "object":{"name":value}.
void traceNestedField(TraceFields& fields, const char* object, const char* name, long value);
// Every scene's state, scene by scene in the order of the scene table, then the game's.
void traceScenes(TraceFields& fields);

} // namespace kavorind
