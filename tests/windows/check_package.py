"""The Windows zip: the VST 3 bundle with its binary and moduleinfo.json, the
VST 2 DLL (the same binary), and the install text, nothing else at the top.

    check_package.py <zip>
"""
import sys
import zipfile

path = sys.argv[1]
with zipfile.ZipFile(path) as archive:
    names = [info.filename for info in archive.infolist() if not info.is_dir()]
    tops = sorted({name.split("/")[0] for name in names})
    problems = []
    if tops != ["INSTALL.txt", "Kalvior.dll", "Kalvior.vst3"]:
        problems.append(f"top level is {tops}")
    binary = "Kalvior.vst3/Contents/x86_64-win/Kalvior.vst3"
    for wanted in (binary, "Kalvior.vst3/Contents/Resources/moduleinfo.json", "Kalvior.dll", "INSTALL.txt"):
        if wanted not in names:
            problems.append(f"{wanted} is missing")
    if not problems:
        if archive.read(binary) != archive.read("Kalvior.dll"):
            problems.append("Kalvior.dll is not the bundle's binary")
        if archive.read(binary)[:2] != b"MZ":
            problems.append("the bundle's binary is not a Windows executable")
        text = archive.read("INSTALL.txt").decode("utf-8")
        for needed in ("C:\\Program Files\\Common Files\\VST3", "Kalvior.dll", "@"):
            if (needed in text) != (needed != "@"):
                problems.append(f"INSTALL.txt: {needed!r} {'left unfilled' if needed == '@' else 'missing'}")
for problem in problems:
    print(f"{path}: {problem}")
sys.exit(1 if problems else 0)
