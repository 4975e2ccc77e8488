@echo off
rem Kestrune's stand-in for the x64 developer environment of Visual Studio 2019. Like the real one
rem it puts the folder of the x64 cl.exe first on PATH (Wine's cmd.exe finds the stand-in cl.exe
rem there); the stand-in cmd.exe lets "cl" run once the target is marked here.
set "PATH=%~dp0..\..\Tools\MSVC\14.29.30133\bin\Hostx64\x64;%PATH%"
set VSCMD_ARG_HOST_ARCH=x64
set VSCMD_ARG_TGT_ARCH=x64
set VisualStudioVersion=16.0
set Platform=x64
