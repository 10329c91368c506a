# The game's own asset pack, built from the sources under assets/ into the run directory:
#   ${KV_RUN_DIR}/Pictures.dxg   SVG -> PNG (rsvg-convert), packed with dxgtool
#   ${KV_RUN_DIR}/Sounds.dxg     sox recipes -> WAV, packed with dxgtool
#   ${KV_RUN_DIR}/musics/*.mp3   ABC -> MIDI -> WAV -> MP3 (scripts/build-music.sh), one step per track
# Every output is rebuilt only when its own sources change. The target `assets` is part of the
# default build.

set(KV_ASSET_SRC ${CMAKE_CURRENT_SOURCE_DIR}/assets)
set(KV_ASSET_BIN ${CMAKE_BINARY_DIR}/assets)
set(KV_SOUNDFONT /usr/share/sounds/sf2/FluidR3_GM.sf2 CACHE FILEPATH "General MIDI soundfont for the music")

find_program(KV_RSVG rsvg-convert)
find_program(KV_SOX sox)
find_program(KV_ABC2MIDI abc2midi)
find_program(KV_MFTEXT mftext)
find_program(KV_FLUIDSYNTH fluidsynth)
find_program(KV_LAME lame)
find_program(KV_BASH bash)

set(kv_missing "")
foreach(tool KV_RSVG KV_SOX KV_ABC2MIDI KV_MFTEXT KV_FLUIDSYNTH KV_LAME KV_BASH)
  if(NOT ${tool})
    string(REPLACE "KV_" "" t ${tool})
    list(APPEND kv_missing ${t})
  endif()
endforeach()
if(NOT EXISTS ${KV_SOUNDFONT})
  list(APPEND kv_missing "soundfont ${KV_SOUNDFONT}")
endif()

if(kv_missing)
  # Configuring still works (the code can be built and tested without the pack); building the
  # default target stops here with what to do.
  string(REPLACE ";" ", " kv_missing_text "${kv_missing}")
  message(WARNING "Asset tools missing (${kv_missing_text}): the asset pack cannot be built. Run scripts/install-deps.sh")
  add_custom_target(assets ALL
    COMMAND ${CMAKE_COMMAND} -E echo "assets: missing ${kv_missing_text}; run scripts/install-deps.sh"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
  return()
endif()

if(NOT TARGET dxgtool)
  message(FATAL_ERROR "cmake/Assets.cmake: the dxgtool target must be defined before the asset pack")
endif()

# Music rendering loads the whole soundfont per track: at most two at a time under Ninja.
set_property(GLOBAL APPEND PROPERTY JOB_POOLS kv_music=2)

# ---- pictures ----
file(GLOB kv_svgs CONFIGURE_DEPENDS ${KV_ASSET_SRC}/pictures/*.svg)
set(kv_pngs "")
foreach(svg ${kv_svgs})
  get_filename_component(name ${svg} NAME_WE)
  set(png ${KV_ASSET_BIN}/pictures/${name}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_ASSET_BIN}/pictures
    COMMAND ${KV_RSVG} ${svg} -o ${png}.tmp
    COMMAND ${CMAKE_COMMAND} -E rename ${png}.tmp ${png}
    DEPENDS ${svg}
    COMMENT "Rendering picture ${name}.png"
    VERBATIM)
  list(APPEND kv_pngs ${png})
endforeach()

add_custom_command(OUTPUT ${KV_ASSET_BIN}/pictures/Pictures.manifest
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_ASSET_BIN}/pictures
  COMMAND ${CMAKE_COMMAND} -E copy ${KV_ASSET_SRC}/pictures/Pictures.manifest ${KV_ASSET_BIN}/pictures/Pictures.manifest
  DEPENDS ${KV_ASSET_SRC}/pictures/Pictures.manifest
  VERBATIM)

add_custom_command(OUTPUT ${KV_RUN_DIR}/Pictures.dxg
  COMMAND dxgtool pack ${KV_ASSET_BIN}/pictures/Pictures.manifest ${KV_ASSET_BIN}/Pictures.dxg.tmp
  COMMAND ${CMAKE_COMMAND} -E rename ${KV_ASSET_BIN}/Pictures.dxg.tmp ${KV_RUN_DIR}/Pictures.dxg
  DEPENDS ${kv_pngs} ${KV_ASSET_BIN}/pictures/Pictures.manifest dxgtool
  COMMENT "Packing Pictures.dxg"
  VERBATIM)

# ---- sounds ----
file(GLOB kv_recipes CONFIGURE_DEPENDS ${KV_ASSET_SRC}/sounds/*.sh)
set(kv_wavs "")
foreach(recipe ${kv_recipes})
  get_filename_component(name ${recipe} NAME_WE)
  set(wav ${KV_ASSET_BIN}/sounds/${name}.wav)
  add_custom_command(OUTPUT ${wav}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_ASSET_BIN}/sounds
    COMMAND ${KV_BASH} ${recipe} ${wav}.tmp.wav
    COMMAND ${CMAKE_COMMAND} -E rename ${wav}.tmp.wav ${wav}
    DEPENDS ${recipe}
    COMMENT "Making sound ${name}.wav"
    VERBATIM)
  list(APPEND kv_wavs ${wav})
endforeach()

add_custom_command(OUTPUT ${KV_ASSET_BIN}/sounds/Sounds.manifest
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_ASSET_BIN}/sounds
  COMMAND ${CMAKE_COMMAND} -E copy ${KV_ASSET_SRC}/sounds/Sounds.manifest ${KV_ASSET_BIN}/sounds/Sounds.manifest
  DEPENDS ${KV_ASSET_SRC}/sounds/Sounds.manifest
  VERBATIM)

add_custom_command(OUTPUT ${KV_RUN_DIR}/Sounds.dxg
  COMMAND dxgtool pack ${KV_ASSET_BIN}/sounds/Sounds.manifest ${KV_ASSET_BIN}/Sounds.dxg.tmp
  COMMAND ${CMAKE_COMMAND} -E rename ${KV_ASSET_BIN}/Sounds.dxg.tmp ${KV_RUN_DIR}/Sounds.dxg
  DEPENDS ${kv_wavs} ${KV_ASSET_BIN}/sounds/Sounds.manifest dxgtool
  COMMENT "Packing Sounds.dxg"
  VERBATIM)

# ---- music: one step per track, so tracks render in parallel and only changed ones again ----
file(GLOB kv_tunes CONFIGURE_DEPENDS ${KV_ASSET_SRC}/music/*.abc)
set(kv_mp3s "")
foreach(abc ${kv_tunes})
  get_filename_component(name ${abc} NAME_WE)
  set(mp3 ${KV_RUN_DIR}/musics/${name}.mp3)
  add_custom_command(OUTPUT ${mp3}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_RUN_DIR}/musics
    COMMAND ${KV_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/build-music.sh ${abc} ${mp3}.tmp ${KV_SOUNDFONT}
    COMMAND ${CMAKE_COMMAND} -E rename ${mp3}.tmp ${mp3}
    DEPENDS ${abc} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/build-music.sh
    COMMENT "Rendering music ${name}.mp3"
    JOB_POOL kv_music
    VERBATIM)
  list(APPEND kv_mp3s ${mp3})
endforeach()

add_custom_target(assets ALL
  DEPENDS ${KV_RUN_DIR}/Pictures.dxg ${KV_RUN_DIR}/Sounds.dxg ${kv_mp3s})
# The pictures and sounds without the music, for what plays the game silently (the fuzz targets).
add_custom_target(asset_lists DEPENDS ${KV_RUN_DIR}/Pictures.dxg ${KV_RUN_DIR}/Sounds.dxg)

# ---- check: every name the game looks up is in the pack, every track is there and long enough ----
enable_testing()
add_test(NAME assets.pack
  COMMAND ${KV_BASH} ${CMAKE_CURRENT_SOURCE_DIR}/scripts/check-assets.sh ${KV_RUN_DIR} $<TARGET_FILE:dxgtool>)
set_tests_properties(assets.pack PROPERTIES LABELS assets)
