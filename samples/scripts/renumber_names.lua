-- Renumbers unit names: "MG Team 7", "MG Team 12", "MG Team 3" of a side
-- become "MG Team 1", "MG Team 2", "MG Team 3" in unit order. Names without
-- a trailing number stay as they are. A name holds at most 15 characters.
local counts = {}
local renamed = 0
for _, u in ipairs(game.units) do
  local base = u.name:match("^(.-)%s*%d+$")
  if base and base ~= "" then
    local key = u.side .. ":" .. base
    counts[key] = (counts[key] or 0) + 1
    local number = tostring(counts[key])
    local name = base:sub(1, 14 - #number) .. " " .. number
    if name ~= u.name then
      u.name = name
      renamed = renamed + 1
    end
  end
end
print(renamed .. " units renamed")
