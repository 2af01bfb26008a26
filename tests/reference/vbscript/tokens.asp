<%
DIM x, y
x = obj(1).Value & "a""b" & &HFF& + 1.5
d = #1/1/2000#
' 50% done
Rem plain note
x = 1 : Rem after a colon
select case x
case 1
  y = 2
end select
%>
