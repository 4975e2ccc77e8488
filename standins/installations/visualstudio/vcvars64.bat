@echo off
rem Kestrune's stand-in for the x64 developer environment of Visual Studio 2019. The real one puts
rem the x64 compiler on PATH; the stand-in cmd.exe lets "cl" run once the target is marked here.
set VSCMD_ARG_HOST_ARCH=x64
set VSCMD_ARG_TGT_ARCH=x64
set VisualStudioVersion=16.0
set Platform=x64
