<!DOCTYPE html>
<html>
</html>
