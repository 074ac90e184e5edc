#include "scenes/game_hud.h"

#include "assets/content_catalogue.h"
#include "assets/text.h"

namespace kavorind {

void drawHud(Surface* surface, const GameState& state) {
    if (!surface)
        return;
    ContentCatalogue& content = catalogue;
    // The status icon: calm from 2 hit points up, worried at 1, wrecked at 0; none below 0.
    if (state.hp >= 0 && state.hp <= 5) {
        uint32_t icon = state.hp == 0 ? 2 : state.hp == 1 ? 1 : 0;
        content.infobarFrame.drawFrame(surface, icon, 30, 30);
    }
    content.infobarEnergy.drawFrame(surface, 5, 70, 30);
    // The gauge's fill: frame 4 for one hit point down to frame 0 for five.
    if (state.hp >= 1 && state.hp <= 5)
        content.infobarEnergy.drawFrame(surface, static_cast<uint32_t>(5 - state.hp), 70, 30);
    content.specialIcons.drawAndAdvance(surface, 250, 15);
    content.numberFont.drawFrame(surface, static_cast<uint32_t>(state.specialCount), 285, 15);
    drawText(surface, content.letterFont, content.numberFont, "SCORE", 328, 17);
    drawNumber(surface, content.numberFont, static_cast<uint32_t>(state.score), 400, 15);
}

} // namespace kavorind
