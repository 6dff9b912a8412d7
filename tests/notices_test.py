#!/usr/bin/env python3
"""Checks NOTICES against what a build folder links.

    tests/notices_test.py NOTICES BUILD_DIR

For every program of NOTICES that BUILD_DIR builds, the libraries its link line names
(build.ninja) must be exactly the ones NOTICES lists for it, at the version this build
used: read from the headers or pkg-config files of the very libraries it links, or from
the compiler. For the web build, the page's scripts from npm (the dependencies that
web/*/package.json pins) must be the ones NOTICES lists under [page], at the version and
with the license their package-lock.json gives. A library that the checker does not know fails too, so that a new one is
added here and to NOTICES together. System libraries (Windows' own DLLs, libc, the
sanitizers) are not third-party and are left out.
"""
import glob
import json
import os
import re
import subprocess
import sys

# NOTICES' section name for a linked output's file name.
PROGRAMS = {"roRezodu.exe": "roRezodu.exe", "kof": "kof", "kof-export": "kof-export", "kof.exe": "kof.exe",
            "kof-export.exe": "kof-export.exe", "roRezodu.js": "roRezodu.wasm"}

# A linked file's library, by the name of its file: lib<name>.a/.so or -l<name>.
LIBRARY_OF_FILE = {
    "lzma": "liblzma", "mspack": "libmspack", "png16": "libpng", "png": "libpng", "z": "zlib",
    **{name: "FFmpeg" for name in ("avcodec", "avformat", "avfilter", "swscale", "swresample", "avutil")},
    "x264": "x264", "vpx": "libvpx", "opus": "opus",
    "tesseract": "Tesseract", "lept": "Leptonica", "archive": "libarchive", "curl": "libcurl",
}
# The pkg-config file that gives a cross-built library's version, beside the library.
PC_FILE_OF = {"FFmpeg": "libavcodec", "x264": "x264", "libvpx": "vpx", "opus": "opus", "libpng": "libpng16"}
WINDOWS_SYSTEM = {"user32", "gdi32", "comctl32", "comdlg32", "shell32", "winmm", "windowscodecs", "ole32", "oleaut32",
                  "uuid", "oleacc", "kernel32", "advapi32", "shlwapi", "version", "uxtheme", "dwmapi", "msimg32",
                  "winspool", "msacm32", "bcrypt"}
PROJECT_ARCHIVE = re.compile(r"(^|/)librz_[a-z_]+\.a$")


def fail(message):
    print(f"notices: {message}", file=sys.stderr)
    sys.exit(1)


def read_notices(path, field=1):
    """{program: {library: version (or the license with field=2)}} from NOTICES' '[program]' sections."""
    sections, current = {}, None
    with open(path, encoding="utf-8") as notices:
        for line in notices:
            heading = re.match(r"^\[([^\]]+)\]", line)
            if heading:
                current = sections.setdefault(heading.group(1), {})
            elif current is not None and line.count(" | ") >= 3:
                fields = [part.strip() for part in line.split(" | ")]
                current[re.sub(r" \(.*\)$", "", fields[0])] = fields[field]
    return sections


def link_blocks(build_dir):
    """{output file name: (link libraries, link flags)} of build.ninja's executables."""
    blocks, current = {}, None
    with open(os.path.join(build_dir, "build.ninja"), encoding="utf-8") as ninja:
        for line in ninja:
            match = re.match(r"^build ([^:]+): C(XX)?_EXECUTABLE_LINKER__", line)
            if match:
                current = os.path.basename(match.group(1).replace("$:", ":"))
                blocks[current] = ["", ""]
            elif current and line.startswith("  LINK_LIBRARIES = "):
                blocks[current][0] = line.split("=", 1)[1]
            elif current and line.startswith("  LINK_FLAGS = "):
                blocks[current][1] = line.split("=", 1)[1]
            elif not line.startswith("  "):
                current = None
    return blocks


def linked_libraries(libraries, flags, windows):
    """{library: the linked file (or -l flag)} of one link line."""
    found = {}
    for token in libraries.split():
        if PROJECT_ARCHIVE.search(token):
            continue
        match = re.match(r"^-l(.+)$", token) or re.match(r"^.*/lib([^/]+?)\.(a|so)(\.[0-9.]+)?$", token)
        if not match:
            fail(f"cannot tell which library '{token}' is")
        stem = match.group(1)
        if windows and stem in WINDOWS_SYSTEM:
            continue
        if stem not in LIBRARY_OF_FILE:
            fail(f"the build links '{token}', which this checker and NOTICES do not know")
        found[LIBRARY_OF_FILE[stem]] = token
    if windows and "-static" in flags.split():
        found["GCC runtime"] = "-static"
        found["MinGW-w64 runtime"] = "-static"
    return found


def cache_value(build_dir, key):
    with open(os.path.join(build_dir, "CMakeCache.txt"), encoding="utf-8") as cache:
        for line in cache:
            if line.startswith(key + ":"):
                return line.split("=", 1)[1].strip()
    return ""


def header_text(path):
    with open(path, encoding="utf-8", errors="replace") as header:
        return header.read()


def defined(text, name):
    match = re.search(rf"#define {name}\s+\"?([^\"\s]+)", text)
    return match.group(1) if match else None


def prefix_of(linked_file):
    """The install prefix of a linked lib/libX.a."""
    return os.path.dirname(os.path.dirname(linked_file))


def lzma_version(linked_file):
    text = header_text(os.path.join(prefix_of(linked_file), "include", "lzma", "version.h"))
    return ".".join(defined(text, f"LZMA_VERSION_{part}") for part in ("MAJOR", "MINOR", "PATCH"))


def pc_version(linked_file, package):
    pc = os.path.join(prefix_of(linked_file), "lib", "pkgconfig", f"{package}.pc")
    return re.search(r"^Version:\s*(\S+)", header_text(pc), re.M).group(1)


def pkg_config_version(package):
    return subprocess.run(["pkg-config", "--modversion", package], check=True, capture_output=True,
                          text=True).stdout.strip()


def compiler_of(build_dir):
    """The C++ compiler the build uses (a toolchain file's is not in the cache)."""
    compiler = cache_value(build_dir, "CMAKE_CXX_COMPILER")
    for found in glob.glob(os.path.join(build_dir, "CMakeFiles", "*", "CMakeCXXCompiler.cmake")):
        match = re.search(r'^set\(CMAKE_CXX_COMPILER "([^"]+)"\)', header_text(found), re.M)
        compiler = compiler or (match.group(1) if match else "")
    if not compiler:
        fail(f"cannot tell the compiler of {build_dir}")
    return compiler


def compiler_output(build_dir, *arguments):
    compiler = compiler_of(build_dir)
    return subprocess.run([compiler, *arguments], check=True, capture_output=True, text=True).stdout


def version_used(build_dir, library, linked_file, kind):
    """The version of a library as this build links it."""
    if kind == "native":
        package = {"liblzma": "liblzma", "libmspack": "libmspack", "libpng": "libpng", "zlib": "zlib",
                   "FFmpeg": "libavcodec", "Tesseract": "tesseract", "Leptonica": "lept", "libarchive": "libarchive",
                   "libcurl": "libcurl"}[library]
        return pkg_config_version(package)
    if library == "liblzma":
        return lzma_version(linked_file)
    if library == "libmspack":
        return pc_version(linked_file, "libmspack")
    if library in PC_FILE_OF:
        return pc_version(linked_file, PC_FILE_OF[library])
    if library == "zlib" and kind == "web":
        return pc_version(linked_file, "zlib")
    if library == "zlib":
        return defined(header_text(os.path.join(prefix_of(linked_file), "include", "zlib.h")), "ZLIB_VERSION")
    if library == "GCC runtime":
        return compiler_output(build_dir, "-dumpversion").strip().split("-")[0].split(".")[0]
    if library == "MinGW-w64 runtime":
        text = compiler_output(build_dir, "-dM", "-E", "-x", "c++", "-include", "_mingw.h", "/dev/null")
        return ".".join(defined(text, f"__MINGW64_VERSION_{part}") for part in ("MAJOR", "MINOR", "BUGFIX"))
    if library == "Emscripten runtime":
        return re.search(r"\) ([0-9.]+)", compiler_output(build_dir, "--version")).group(1)
    fail(f"no way to tell the version of {library}")


def page_packages(source_dir):
    """{package: (version, license)} of the npm packages the page carries."""
    packages = {}
    for lock_path in glob.glob(os.path.join(source_dir, "web", "*", "package-lock.json")):
        with open(lock_path, encoding="utf-8") as lock_file:
            lock = json.load(lock_file)["packages"]
        for name in lock[""].get("dependencies", {}):
            entry = lock[f"node_modules/{name}"]
            packages[name] = (entry["version"], entry.get("license", "?"))
    return packages


def check_page(notices_path):
    versions, licenses = read_notices(notices_path).get("page", {}), read_notices(notices_path, 2).get("page", {})
    carried = page_packages(os.path.dirname(os.path.abspath(notices_path)))
    if set(carried) != set(versions):
        fail(f"[page] lists {sorted(versions)}, but the page carries {sorted(carried)}")
    for name, (version, license_name) in carried.items():
        if (versions[name], licenses[name]) != (version, license_name):
            fail(f"[page] gives {name} {versions[name]} ({licenses[name]}), but the page carries {version} ({license_name})")


def build_kind(build_dir):
    # A toolchain file sets the system as a variable, not in the cache.
    toolchain = cache_value(build_dir, "CMAKE_TOOLCHAIN_FILE").lower()
    if cache_value(build_dir, "CMAKE_SYSTEM_NAME") == "Windows" or "mingw" in toolchain:
        return "windows"
    if "emscripten" in toolchain:
        return "web"
    return "native"


def main():
    notices_path, build_dir = sys.argv[1:3]
    notices = read_notices(notices_path)
    kind = build_kind(build_dir)
    checked = 0
    for output, (libraries, flags) in sorted(link_blocks(build_dir).items()):
        program = PROGRAMS.get(output)
        if program is None:
            continue
        linked = linked_libraries(libraries, flags, kind == "windows")
        if kind == "web":
            linked["Emscripten runtime"] = "emcc"
        listed = notices.get(program)
        if listed is None:
            fail(f"NOTICES has no [{program}] section")
        if set(linked) != set(listed):
            fail(f"[{program}] lists {sorted(listed)}, but the build links {sorted(linked)}")
        for library, linked_file in linked.items():
            used = version_used(build_dir, library, linked_file, kind)
            if listed[library] != used:
                fail(f"[{program}] gives {library} {listed[library]}, but the build uses {used}")
        checked += 1
    if checked == 0:
        fail(f"{build_dir} builds none of NOTICES' programs")
    if kind == "web":
        check_page(notices_path)
    print(f"notices: {checked} program(s) of {build_dir} match NOTICES")


if __name__ == "__main__":
    main()
