#pragma once

namespace kavorind {
// Shared between the platform files only.

struct PlatformWindow;

// The one main window, or null before it exists.
PlatformWindow* platformMainWindow();

} // namespace kavorind
