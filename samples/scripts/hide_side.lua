-- Hides every unit of one side on the map.
local SIDE = 1

local hidden = 0
for _, u in ipairs(game.units) do
  if u.side == SIDE and u.position.hidden == 0 then
    u.position.hidden = 1
    hidden = hidden + 1
  end
end
print(hidden .. " units of side " .. SIDE .. " hidden")
