-- Builds the test session headless: a stereo track routed to the master bus,
-- the plug-in inserted by name, parameters set by the labels Ardour shows,
-- optionally a factory preset loaded by name. The audio region is added to
-- the saved session file afterwards (Ardour 7.3 has no Lua import).
-- Environment: E2E_SESSION_DIR, E2E_PLUGIN_TYPE (VST3 or LXVST),
-- E2E_SET ("Label=value;Label=value", values as Ardour takes them),
-- E2E_PRESET (a preset name, or empty).

local function fail(message)
  print("E2E-ERROR: " .. message)
  os.exit(1)
end

ARDOUR.config():set_hide_dummy_backend(false)
if not AudioEngine:set_backend("None (Dummy)", "", "") then fail("no dummy backend") end
if not create_session(os.getenv("E2E_SESSION_DIR"), "e2e", 48000) then fail("cannot create the session") end

local tracks = Session:new_audio_track(2, 2, nil, 1, "Test", ARDOUR.PresentationInfo.max_order,
                                       ARDOUR.TrackMode.Normal, true)
local track = tracks:front()
local master = Session:master_out()
for c = 0, 1 do
  track:output():audio(c):disconnect_all()
  if track:output():audio(c):connect(master:input():audio(c):name()) ~= 0 then fail("cannot route to the master bus") end
end

local plugin_type = os.getenv("E2E_PLUGIN_TYPE") == "LXVST" and ARDOUR.PluginType.LXVST or ARDOUR.PluginType.VST3
local processor = ARDOUR.LuaAPI.new_plugin(Session, "Kalvior", plugin_type, "")
if processor:isnil() then fail("Ardour does not know a plug-in called Kalvior") end
if track:add_processor_by_index(processor, 0, nil, true) ~= 0 then fail("cannot insert Kalvior") end
local plugin = processor:to_insert():plugin(0)

-- Parameters by label.
local labels = {}
for j = 0, plugin:parameter_count() - 1 do
  if plugin:parameter_is_control(j) and plugin:parameter_is_input(j) then
    labels[plugin:parameter_label(j)] = j
    print("E2E-LABEL: " .. plugin:parameter_label(j))
  end
end
local settings = os.getenv("E2E_SET") or ""
for label, value in string.gmatch(settings, "([^=;]+)=([^;]+)") do
  local j = labels[label]
  if j == nil then fail("Ardour shows no parameter labelled '" .. label .. "'") end
  if not ARDOUR.LuaAPI.set_processor_param(processor, j, tonumber(value)) then
    fail("cannot set '" .. label .. "'")
  end
end

local preset = os.getenv("E2E_PRESET") or ""
if preset ~= "" then
  local record = plugin:preset_by_label(preset)
  if record == nil then fail("Kalvior offers no preset called '" .. preset .. "'") end
  if not plugin:load_preset(record) then fail("cannot load the preset '" .. preset .. "'") end
end

-- Let the plug-in process the changes, or the state saved below is stale.
-- (cycles, timeout in ms): about a third of a second of processing.
if not ARDOUR.LuaAPI.wait_for_process_callback(16, 10000) then fail("the engine does not process") end
for label, value in string.gmatch(settings, "([^=;]+)=([^;]+)") do
  print(string.format("E2E-VALUE: %s=%.9g", label, ARDOUR.LuaAPI.get_processor_param(processor, labels[label], true)))
end
Session:save_state("")
io.stderr:write("E2E-DONE\n")
close_session()
os.exit(0)
