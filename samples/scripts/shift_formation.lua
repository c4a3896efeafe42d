-- Moves one formation of one side: every unit's position by DX columns and
-- DY rows of the map.
local SIDE, FORMATION = 0, 1
local DX, DY = 5, -3

local moved = 0
for _, u in ipairs(game.units) do
  if u.side == SIDE and u.formation == FORMATION then
    local p = u.position
    p.x = p.x + DX
    p.y = p.y + DY
    moved = moved + 1
  end
end
print(moved .. " units of formation " .. FORMATION .. " moved by " .. DX .. ", " .. DY)
