#pragma once

namespace kavorind {

// A closed terminal (SIGHUP) ends the game as a close of its window does, through the normal
// shut-down, so that what it was writing is finished; SDL does the same for SIGINT and SIGTERM.
// The signal only raises a flag, which the message queue turns into that close when it next
// looks. A hang-up already ignored (nohup) stays ignored.
void platformQuitOnHangUp();
// 1 once for every hang-up that has arrived since the last call.
int platformTakeHangUp();

} // namespace kavorind
