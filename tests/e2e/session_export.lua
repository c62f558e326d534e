-- Opens the session, checks that every plug-in loaded, runs a few process
-- cycles and exports the master bus with a 32-bit float WAV preset.
-- Environment: E2E_SESSION_DIR, E2E_EXPORT_DIR, E2E_PRESET_ID.

local function fail(message)
  print("E2E-ERROR: " .. message)
  os.exit(1)
end

ARDOUR.config():set_hide_dummy_backend(false)
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
if not backend then fail("no dummy backend") end
if not load_session(os.getenv("E2E_SESSION_DIR"), "e2e") then fail("cannot load the session") end

-- A plug-in that fails to load leaves a placeholder and an unprocessed export.
local unknown = Session:unknown_processors()
if not unknown:empty() then
  for name in unknown:iter() do print("E2E-UNKNOWN: " .. name) end
  fail("a plug-in could not be loaded")
end
print("E2E-BLOCK: " .. backend:buffer_size())

-- (cycles, timeout in ms): about a third of a second of processing.
if not ARDOUR.LuaAPI.wait_for_process_callback(16, 10000) then fail("the engine does not process") end
local export = Session:simple_export()
export:set_name("result")
if not export:set_preset(os.getenv("E2E_PRESET_ID")) then fail("no export preset") end
export:set_folder(os.getenv("E2E_EXPORT_DIR"))
if not export:run_export() then fail("the export failed") end
-- Unbuffered, so it is seen even if Ardour dies on the way out.
io.stderr:write("E2E-DONE\n")
-- Leave at once: Ardour can crash while it shuts down after an export (its
-- audio thread outlives the tempo map); the file is complete by now.
os.exit(0)
