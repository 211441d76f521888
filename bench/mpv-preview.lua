-- Loaded into a plain mpv as the reference for the preview figures: from the
-- moment playback starts until mpv stops at its --end, the CPU the whole
-- player takes, and where it stands when it stops. Prints one line
-- "cpu_percent_of_one_core late_ms" on standard output, then quits.

local ticks = 100  -- USER_HZ, the unit of /proc/self/stat's times on Linux
local started_cpu, started_at

local function cpu_seconds()
    local file = io.open("/proc/self/stat")
    local stat = file:read("*l")
    file:close()
    -- The fields after the command name, which may hold spaces, start at ")".
    local fields = {}
    for field in stat:match("%) (.*)"):gmatch("%S+") do
        fields[#fields + 1] = field
    end
    -- utime and stime are fields 14 and 15 of the whole line (12, 13 here).
    return (tonumber(fields[12]) + tonumber(fields[13])) / ticks
end

mp.register_event("playback-restart", function()
    if not started_at then
        started_cpu, started_at = cpu_seconds(), mp.get_time()
    end
end)

mp.observe_property("eof-reached", "bool", function(_, reached)
    if not reached or not started_at then
        return
    end
    local wall = mp.get_time() - started_at
    local cpu = cpu_seconds() - started_cpu
    local stop = tonumber(mp.get_property("end")) or 0
    local late = (mp.get_property_number("time-pos") - stop) * 1000
    io.stdout:write(string.format("%.1f %d\n", 100 * cpu / wall, math.floor(late + 0.5)))
    io.stdout:flush()
    mp.command("quit")
end)
