-- Check: two or more units standing on one map cell. Each unit after the
-- first on a cell gets a finding naming the first.
local first = {}
for _, u in ipairs(game.units) do
  local p = u.position
  local cell = p.x .. "," .. p.y
  local other = first[cell]
  if other then
    warn(u, "stands on cell " .. cell .. " with units[" .. other.index .. "] " .. other.name)
  else
    first[cell] = u
  end
end
