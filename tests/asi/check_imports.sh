#!/usr/bin/env bash
# Checks the import table of Rotorstrike.asi, as objdump reads it.
#   check_imports.sh OBJDUMP FILE dlls       only system DLLs and ScriptHookV.dll
#   check_imports.sh OBJDUMP FILE scripthook ScriptHookV's six exports, decorated
#   check_imports.sh OBJDUMP FILE win32      the Win32 calls of the backend
set -euo pipefail
objdump=$1 file=$2 check=$3

# One "DLL<TAB>function" line per imported function.
imports=$("$objdump" -p "$file" | awk '
  /^\tDLL Name: / { dll = $3; next }
  /^$/ { dll = "" }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]/ { print dll "\t" $3 }')
[ -n "$imports" ] || { echo "FAIL: no imports read from $file"; exit 1; }

# DLLs that every Windows installation carries (compared in lower case). libgcc,
# libstdc++ and winpthread are linked statically, so their DLLs must not appear.
system_dlls=" kernel32.dll user32.dll winmm.dll msvcrt.dll ntdll.dll advapi32.dll "

fail=0
case $check in
  dlls)
    while read -r dll; do
      lower=${dll,,}
      if [ "$dll" = ScriptHookV.dll ] || [[ $system_dlls == *" $lower "* ]]; then
        echo "ok: imports $dll"
      else
        echo "FAIL: imports $dll, neither a system DLL nor ScriptHookV.dll"; fail=1
      fi
    done < <(cut -f1 <<<"$imports" | sort -u)
    ;;
  scripthook)
    expected=$(printf '%s\n' '?nativeCall@@YAPEA_KXZ' '?nativeInit@@YAX_K@Z' \
      '?nativePush64@@YAX_K@Z' '?scriptRegister@@YAXPEAUHINSTANCE__@@P6AXXZ@Z' \
      '?scriptUnregister@@YAXPEAUHINSTANCE__@@@Z' '?scriptWait@@YAXK@Z' | sort)
    actual=$(awk -F'\t' '$1 == "ScriptHookV.dll" { print $2 }' <<<"$imports" | sort)
    if [ "$actual" = "$expected" ]; then
      sed 's/^/ok: imports ScriptHookV.dll!/' <<<"$actual"
    else
      echo "FAIL: ScriptHookV.dll imports differ from its six decorated exports:"
      diff <(echo "$expected") <(echo "$actual") || true
      fail=1
    fi
    ;;
  win32)
    for pair in KERNEL32.dll:GetTickCount USER32.dll:GetAsyncKeyState \
                USER32.dll:GetForegroundWindow USER32.dll:GetWindowThreadProcessId \
                KERNEL32.dll:GetCurrentProcessId \
                KERNEL32.dll:GetPrivateProfileIntA KERNEL32.dll:GetPrivateProfileStringA \
                KERNEL32.dll:WritePrivateProfileStringA \
                KERNEL32.dll:CreateFileA KERNEL32.dll:CloseHandle \
                KERNEL32.dll:GetModuleHandleExW WINMM.dll:PlaySoundA; do
      if grep -qixF "${pair%%:*}	${pair#*:}" <<<"$imports"; then
        echo "ok: imports ${pair/:/!}"
      else
        echo "FAIL: does not import ${pair/:/!}"; fail=1
      fi
    done
    ;;
  *) echo "usage: check_imports.sh OBJDUMP FILE (dlls | scripthook | win32)" >&2; exit 2 ;;
esac
exit $fail
