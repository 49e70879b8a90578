C:\WINDOWS\SQVFILES\sqvsynth.exe /load
C:\MOUSE\MOUSE.COM
