# The layer of every product library, highest first. A library links only
# libraries of its own layer or below; cmake/library_graph.cmake checks it.
set(VELMORA_LIBRARY_LAYERS
  # The programs' own parts: the saver's run and its settings dialog, which
  # drives the application object; the setup assistant shares nothing.
  9:velmora_saver_run_win32 9:velmora_settings_win32
  9:velmora_setup_core 9:velmora_setup_win32
  # The XScreenSaver host's GLX window, signals and image helper.
  9:velmora_linux_x11
  # The application classes.
  8:velmora_frame
  # What the run and the dialogs use beside the scene.
  7:velmora_settings_pages_win32 7:velmora_list_editor_win32
  # The XScreenSaver host's options and picture sources.
  7:velmora_linux_host
  7:velmora_music 7:velmora_diag 7:velmora_diag_win32 7:velmora_web 7:velmora_web_win32
  # The cube scene and its picture pipeline.
  6:velmora_scene 6:velmora_scene_core 6:velmora_scene_lists
  # Win32 dialog helpers shared by the settings dialog and the list editor.
  5:velmora_ui_win32
  # The settings record and storage, the list storage.
  4:velmora_settings 4:velmora_lists
  # The registry key, store and texts.
  3:velmora_registry 3:velmora_registry_win32
  # The render engine.
  2:velmora_engine 2:velmora_gl
  1:velmora_picture
  0:velmora_base 0:velmora_maker_site)
