-- Check: units and victory hexes outside the position editor's map, which
-- spans cells 0 to 99 across and 0 to 79 down.
local WIDTH, HEIGHT = 100, 80

local function outside(x, y)
  return x < 0 or x >= WIDTH or y < 0 or y >= HEIGHT
end

for _, u in ipairs(game.units) do
  local p = u.position
  if outside(p.x, p.y) then
    warn(u, "stands outside the map at " .. p.x .. "," .. p.y)
  end
end
for k, hex in ipairs(game.victoryHexes) do
  -- Entries with no position and no amount are unused.
  local used = hex.x ~= 0 or hex.y ~= 0 or hex.amount ~= 0
  if used and outside(hex.x, hex.y) then
    warn("victory hex " .. k .. " lies outside the map at " .. hex.x .. "," .. hex.y)
  end
end
