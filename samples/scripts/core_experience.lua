-- Core units gain experience: every unit of side 0 gets 10 more, capped.
-- Run it after a battle the core force came through.
local SIDE, GAIN, CAP = 0, 10, 100

local raised = 0
for _, u in ipairs(game.units) do
  if u.side == SIDE and u.exp < CAP then
    u.exp = math.min(u.exp + GAIN, CAP)
    raised = raised + 1
  end
end
print(raised .. " units of side " .. SIDE .. " gained experience")
