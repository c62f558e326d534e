-- Loads the plug-in into an Ardour session and prints the parameters Ardour
-- offers for automation, one "PARAM|<index>|<label>" line each.
local dir = os.getenv ("KALVIOR_SESSION_DIR")
AudioEngine:set_backend ("None (Dummy)", "", "")
AudioEngine:start (false)
local session = create_session (dir, "parameters", 48000)
assert (session, "no session")
local insert = ARDOUR.LuaAPI.new_plugin (Session, "Kalvior", ARDOUR.PluginType.VST3, "")
assert (not insert:isnil (), "Ardour cannot load Kalvior")
local plugin = insert:to_insert ():plugin (0)
for i = 0, plugin:parameter_count () - 1 do
  if plugin:parameter_is_input (i) then
    print ("PARAM|" .. i .. "|" .. plugin:parameter_label (i))
  end
end
close_session ()
